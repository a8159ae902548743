// splitinfo.xml: the split source tables of a profile with their
// connections and split fields, for the engine's run-time processes.
#pragma once

#include <string_view>

#include "core/component.h"

namespace tqlm {

// The profile number is an Integer. Writes nothing yet and returns True:
// the file comes with the legacy split processing.
bool ConstructSplitInfoFile(Component& c, VbInteger profile, std::string_view fileName);

}  // namespace tqlm
