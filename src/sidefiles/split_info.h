// splitinfo.xml: the split source tables of every target table with their
// connections and split fields, for the engine's run-time processes, which
// fill in the ranges.
#pragma once

#include <string_view>

#include "core/component.h"
#include "sidefiles/side_file.h"

namespace tqlm {

// The file, added to `out`: empty when qxmap300 has no rows; readable by its
// owner only, since the connections carry passwords; it replaces an old file
// of the name, read-only or not. The profile number is an Integer. No trap:
// errors reach the caller, the name begun and not completed.
bool ConstructSplitInfoFile(Component& c, VbInteger profile, std::string_view fileName, SideFiles& out);

}  // namespace tqlm
