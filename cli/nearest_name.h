// The valid name a mistyped one most likely meant: "--repo" for
// "--repository", "generate" for "genrate".
#pragma once

#include <string>
#include <vector>

namespace tqlm::cli {

// The names that `given` abbreviates (begins), else those with the fewest
// edits (insert, delete, replace or swap two neighbours) when they are few
// for its length; at most three, in the order of `names`, and none when no
// name is near.
std::vector<std::string> NearestNames(const std::string& given, const std::vector<std::string>& names);

// "A", "A or B", "A, B or C".
std::string OneOf(const std::vector<std::string>& names);

}  // namespace tqlm::cli
