// Rules of the legacy class are run by a script engine that reads flat files
// through a text-file driver. Their embedded selects (select ... from ...
// up to a block keyword) are rewritten for that driver: file names in
// brackets with "#" for ".", columns with aliases, "*" expanded to the
// file's fields; dotted names elsewhere in a rule become the engine's
// underscore names.
#pragma once

#include <string>
#include <string_view>

#include "core/component.h"

namespace tqlm {

// A whole rule. `context` (the mapping object's source-table list) is handed
// on to the select translation. False after its own error line.
bool Translate_Rule(Component& c, std::string_view declarations, std::string_view rule, std::string_view context,
                    std::string_view sourceApplication, std::string& translated);

// One select statement, from "select" up to its block keyword (exclusive).
// False after its own error line.
bool Translate_Select(Component& c, std::string_view statement, std::string_view sourceApplication,
                      std::string_view framedContext, std::string& translated);

}  // namespace tqlm
