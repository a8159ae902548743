// Merging a split source table's range condition into its main query.
#pragma once

#include <string>
#include <string_view>

namespace tqlm {

// Adds `condition` to the query's where clause, or gives it one, in front of
// a group, having or order clause (all searched without regard to case).
std::string MergeSplitCondition(const std::string& query, std::string_view condition);

}  // namespace tqlm
