// Repositories as a caller names them: the file a connection string opens,
// a connection string as a terminal may show it, the creation of a
// repository, and whether a file holds the repository's tables.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tqlm {

// The file a connection string opens, for a SQLite repository (a path or
// "sqlite:PATH"); empty for a server.
std::string RepositoryFile(std::string_view connectionString);

// A connection string as a terminal may show it: a file name as it is; a
// server's string rebuilt from its keywords with every password "****".
std::string ShownConnectionString(std::string_view connectionString);

// Creates a new repository with the schema, then runs each SQL script (UTF-8
// files, SQLite's dialect) in order, all in one transaction: a SQLite file,
// or the schema in a server's empty database (PostgreSQL). Raises
// -2147217900 with the backend's message on failure (naming the script and
// the line of a failing statement), 58 when the file or the schema exists
// already.
void CreateRepository(const std::string& connectionString, const std::vector<std::string>& scriptFiles = {});

// Whether a SQLite repository file holds any table of the schema; true when
// it cannot tell (a run on it then says why).
bool HoldsRepositoryTables(const std::string& connectionString);

}  // namespace tqlm
