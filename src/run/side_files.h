// The legacy run's side files, after its summary, in order: the conversion
// codes, Schema.ini, LookupApplication.txt (when the profile names a lookup
// application) and, when splitting, splitinfo.xml.
#pragma once

#include <string>

#include "core/component.h"

namespace tqlm {

// Builds and stores each side file with its log line. False when the
// conversion codes failed (their writer logged why); a later side file that
// fails raises 124 (or its own error) for the run's trap.
bool WriteSideFiles(Component& c, const std::string& sapp);

// The split information of a profile, built and stored as `fileName` (the
// legacy class's public method).
bool WriteSplitInfoFile(Component& c, VbInteger profile, std::string_view fileName);

}  // namespace tqlm
