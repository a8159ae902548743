// The SQLite backend: a repository file opened read-only, with a cache of
// idle prepared statements.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "repository/connection.h"

namespace tqlm {

// Opens the file (UTF-8 path) read-only. Raises -2147217900 when it cannot
// be opened; never creates it.
std::unique_ptr<Backend> OpenSqliteBackend(std::string_view utf8Path);

// A statement template (values as "?") as SQLite runs it, rewritten where
// SQLite's planner would otherwise pass over an index the statement can
// use, with the same rows.
std::string ForSqlitePlanner(std::string templateText);

}  // namespace tqlm
