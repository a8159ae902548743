// Schema.ini: the layout of every file of a legacy source application, for
// the text-file driver through which the engine reads them.
#pragma once

#include <string_view>

#include "core/component.h"
#include "sidefiles/side_file.h"

namespace tqlm {

// SchemaINIPath/Schema.ini, added to `out`, with one section per qxlgy141
// file row of `appl` (the source application in its 15 characters); without
// file rows there is no file. False after logging its own error line; a
// failure once the file was begun leaves the name begun and not completed.
bool Build_Schema_ini(Component& c, std::string_view appl, SideFiles& out);

}  // namespace tqlm
