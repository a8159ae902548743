// LookupApplication.txt: data source, user name and password of the
// profile's lookup application, one per line.
#pragma once

#include <string_view>

#include "core/component.h"
#include "sidefiles/side_file.h"

namespace tqlm {

// The file in the output folder (readable by its owner only: it holds a
// password) with the first qxddi101 row of the application, added to `out`.
// False when there is none; the file is then empty. No trap: a Null value
// raises 94 to the caller, the name begun and not completed.
bool Build_Lookup_Application_File(Component& c, std::string_view lookupApplication, SideFiles& out);

}  // namespace tqlm
