// The estimated size of one record of a data-dictionary table.
#pragma once

#include <string_view>

#include "core/component.h"

namespace tqlm {

// Sums a size per field from its domain type; 1 for a table without fields.
// No trap: a repository error or an overflow (error 6) reaches the caller.
VbLong RowSizeofTable(Component& c, std::string_view appl, std::string_view table);

}  // namespace tqlm
