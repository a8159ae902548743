// The child fields of a combined field of the data dictionary.
#pragma once

#include <string>
#include <string_view>

#include "core/component.h"

namespace tqlm {

// The child field names of a combined field, trimmed and joined by "|".
// Raises 113 inside its trap when there are none.
bool Construct_Child_Field_Tag(Component& c, std::string_view appl, std::string_view tcpac, std::string_view tcmod,
                               std::string_view tflno, std::string_view field, std::string& children);

}  // namespace tqlm
