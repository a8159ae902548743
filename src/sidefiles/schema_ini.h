// Schema.ini: the layout of every file of a legacy source application, for
// the text-file driver through which the engine reads them.
#pragma once

#include <string_view>

#include "core/component.h"

namespace tqlm {

// Writes SchemaINIPath/Schema.ini with one section per qxlgy141 file row of
// `appl` (the source application in its 15 characters); without file rows
// no file is created. False after logging its own error line; a failure once
// the file was begun leaves no Schema.ini there, neither the part written nor
// an older one.
bool Build_Schema_ini(Component& c, std::string_view appl);

}  // namespace tqlm
