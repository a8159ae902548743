// LookupApplication.txt: data source, user name and password of the
// profile's lookup application, one per line.
#pragma once

#include <string_view>

#include "core/component.h"

namespace tqlm {

// Creates the file in the output folder (readable by its owner only: it
// holds a password) and writes the first qxddi101 row of the application.
// False when there is none; the file then stays empty. No trap: a Null
// value raises 94 to the caller, and no file of the name is left.
bool Build_Lookup_Application_File(Component& c, std::string_view lookupApplication);

}  // namespace tqlm
