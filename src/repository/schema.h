// The project's own repository schema and the creation of a repository file.
#pragma once

#include <string>
#include <vector>

namespace tqlm {

// The statements that create every table the component reads.
const std::string& RepositorySchemaSql();

// Creates a new repository file with the schema, then runs each SQL script
// (UTF-8 files) in order, all in one transaction. Raises -2147217900 with the
// backend's message on failure, 58 when the file exists already.
void CreateRepository(const std::string& path, const std::vector<std::string>& scriptFiles = {});

}  // namespace tqlm
