// The SQLite backend: a repository file opened read-only, with a cache of
// idle prepared statements per connection.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "repository/connection.h"
#include "repository/statement.h"

namespace tqlm {

// Opens the file (UTF-8 path) read-only, in `count` connections that read
// one snapshot, each in a read transaction from its first read to its end
// (fewer when the file kept changing while they started: at least one).
// A file in WAL mode is read through its write-ahead log and its -shm file,
// which SQLite creates beside it where they are missing; where it may not
// (a folder this process may not write), no writer can be at work on the
// file and it is read as the immutable file it then is. Raises -2147217900
// when it cannot be read; never creates it.
std::vector<std::unique_ptr<Backend>> OpenSqliteBackends(std::string_view utf8Path, int count);

// How SQLite writes the component's statements: texts joined with "||".
extern const Dialect kSqliteDialect;

}  // namespace tqlm
