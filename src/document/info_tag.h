// The INFO section of a mapping-object document, and the pieces it shares
// with the INFO section of M-script documents.
#pragma once

#include <string>
#include <string_view>

#include "core/component.h"
#include "core/mapping_object.h"

namespace tqlm {

// Returns its fragment through `text` (cleared by the caller) and True, or
// False when it failed (it has logged its own error line then).
bool Construct_Info_Tag(Component& c, MappingObject& object, std::string& text);

// A table's TFLD and IND elements, appended to `out`.
bool AppendTableDescription(Component& c, std::string_view appl, const MappingObject& table, std::string& out);
// After the tables: the variables and the source side, appended to `out`.
bool AppendVariablesAndSourceSide(Component& c, MappingObject& object, std::string& out);

}  // namespace tqlm
