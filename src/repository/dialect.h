// Statement text of the original server's dialect, rewritten for servers
// that speak another.
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

}  // namespace tqlm
