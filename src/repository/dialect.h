// Statement and script text rewritten for the dialect of the server that
// runs it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tqlm {

// Every "+" outside single-quoted literals becomes "||": the original
// joins texts with "+", SQLite and PostgreSQL with "||".
std::string JoinTextWithBars(std::string_view statement);

// A statement with the string literals that stand as values taken out, so
// that statements that differ only in the values pasted into them share one
// prepared statement on the server, and "+" outside literals as "||". A
// literal joined to something by "+" stays in the text: it belongs to an
// expression that an index may be built on. `values` holds the literals'
// values (a doubled quote as one), in order. A text whose literals do not
// close, or that holds parameters of its own ("?", ":", "@", "$"), is no
// template: `text` is then the statement with bars and `values` is empty.
enum class Placeholders { kQuestionMarks, kNumbered };  // "?" or "$1", "$2", ...
struct StatementTemplate {
  std::string text;
  std::vector<std::string> values;
  bool templated = true;
};
StatementTemplate MakeTemplate(std::string_view statement, Placeholders placeholders);

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
