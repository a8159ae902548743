// The SQLite backend: a repository file opened read-only, with a cache of
// idle prepared statements.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "repository/connection.h"
#include "repository/statement.h"

namespace tqlm {

// Opens the file (UTF-8 path) read-only. Raises -2147217900 when it cannot
// be opened; never creates it.
std::unique_ptr<Backend> OpenSqliteBackend(std::string_view utf8Path);

// How SQLite writes the component's statements: texts joined with "||".
extern const Dialect kSqliteDialect;

}  // namespace tqlm
