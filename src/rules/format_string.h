// Normalising free rule text (pre-conditions, variable statements, embedded
// selects) for the engine: operators framed by blanks, line breaks as a fixed
// " " CR LF " " sequence, no empty lines, XML special characters escaped.
#pragma once

#include <string>
#include <string_view>

#include "core/component.h"

namespace tqlm {

// True when `ch` is one of the class's operator characters.
bool Is_Delimiter(const Component& c, char ch);

// The generator traps its errors (an unclosed double quote raises 124) and
// returns False after logging them; the legacy class lets them pass.
bool Format_String(Component& c, std::string_view text, std::string& formatted);

}  // namespace tqlm
