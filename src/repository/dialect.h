// SQL scripts rewritten for the dialect of the server that runs them.
#pragma once

#include <string>
#include <string_view>

namespace tqlm {

// SQLite's dialect of the repository schema and of SQL scripts, rewritten
// for PostgreSQL: the schema's text columns as bpchar (compared without
// trailing blanks, returned as stored), and char(n, ...) as
// (chr(n) || ...).
std::string SqliteScriptForPostgres(std::string_view sql);

}  // namespace tqlm
