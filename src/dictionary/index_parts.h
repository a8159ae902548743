// The part fields of a data-dictionary index row.
#pragma once

#include <string>
#include <vector>

#include "repository/recordset.h"

namespace tqlm {

// Index part field names stand at positions 7 to 30 of a qxddi200 row.
inline constexpr long kFirstIndexPart = 7;
inline constexpr long kLastIndexPart = 30;

// The index part field names of a qxddi200 row, as read, up to the first
// that is empty or Null (a part of blanks does not end the list).
std::vector<std::string> IndexParts(const Recordset& indexRow);

}  // namespace tqlm
