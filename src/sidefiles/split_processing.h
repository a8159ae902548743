// Split processing: large source tables converted by several run-time
// processes, each over a range of key values.
#pragma once

#include <string>
#include <string_view>

#include "interface/component.h"

namespace tqlm {

// Extends a pre-condition with the range code of every split source table
// of `targetTable` and records the range conditions; True with the new text.
bool AddSplitQueries_to_Precondition(Component& c, std::string_view sourceApplication, std::string_view inString,
                                     std::string_view targetTable, std::string& returnString);

}  // namespace tqlm
