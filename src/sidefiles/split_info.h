// splitinfo.xml: the split source tables of every target table with their
// connections and split fields, for the engine's run-time processes, which
// fill in the ranges.
#pragma once

#include <string_view>

#include "core/component.h"

namespace tqlm {

// Deletes an old file of the name (read-only or not) and writes the file,
// empty when qxmap300 has no rows; readable by its owner only, since the
// connections carry passwords. The profile number is an Integer. No trap:
// errors reach the caller, and once the file was begun no file of the name
// is left.
bool ConstructSplitInfoFile(Component& c, VbInteger profile, std::string_view fileName);

}  // namespace tqlm
