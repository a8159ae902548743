// Statement and script text rewritten for the dialect of the server that
// runs it.
#pragma once

#include <string>
#include <string_view>

namespace tqlm {

// Every "+" outside single-quoted literals becomes "||": the original
// joins texts with "+", SQLite and PostgreSQL with "||".
std::string JoinTextWithBars(std::string_view statement);

// True when text follows a ";" outside literals: a second statement, which
// the component never builds and which could only come from a value that
// broke out of its quotes.
bool HoldsSecondStatement(std::string_view statement);

// SQLite's dialect of the repository schema and of SQL scripts, rewritten
// for PostgreSQL: the schema's text columns as bpchar (compared without
// trailing blanks, returned as stored), and char(n, ...) as
// (chr(n) || ...).
std::string SqliteScriptForPostgres(std::string_view sql);

}  // namespace tqlm
