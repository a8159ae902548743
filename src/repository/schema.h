// The project's own repository schema and the creation of a repository file.
#pragma once

#include <string>
#include <vector>

namespace tqlm {

// The statements that create every table the component reads.
const std::string& RepositorySchemaSql();

// Creates a new repository with the schema, then runs each SQL script (UTF-8
// files, SQLite's dialect) in order, all in one transaction: a SQLite file
// (a path or "sqlite:PATH"), or the schema in a server's empty database (a
// server connection string; PostgreSQL). Raises -2147217900 with the
// backend's message on failure, 58 when the file or the schema exists
// already.
void CreateRepository(const std::string& connectionString, const std::vector<std::string>& scriptFiles = {});

}  // namespace tqlm
