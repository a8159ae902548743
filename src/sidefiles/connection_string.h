// The connection description of one legacy source table.
#pragma once

#include <string>
#include <string_view>

#include "core/component.h"

namespace tqlm {

// "<constr> <dsn> " sour "</dsn> <logn>" logn "</logn> <pswd>" pswd
// "</pswd></constr>" from the table's qxlgy140 row (only the data source
// escaped), or "" without one. No trap.
std::string GetConnStr(Component& c, std::string_view appl, std::string_view table);

}  // namespace tqlm
