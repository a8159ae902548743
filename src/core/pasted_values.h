// Client values that the component pastes into repository statements. A
// single quote in one would end its literal and change the statement, so
// such a value is refused before any statement runs.
#pragma once

#include <initializer_list>
#include <string_view>
#include <utility>

namespace tqlm {

// Raises 5 naming the argument when a value holds a single quote.
void RefuseQuotes(std::initializer_list<std::pair<std::string_view, std::string_view>> arguments);

}  // namespace tqlm
