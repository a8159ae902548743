// The INFO section of a mapping-object document, and the pieces it shares
// with the INFO section of M-script documents.
#pragma once

#include <vector>

#include <string>
#include <string_view>

#include "core/component.h"
#include "repository/statement.h"
#include "core/mapping_object.h"

namespace tqlm {

// Returns its fragment through `text` (cleared by the caller) and True, or
// False when it failed (it has logged its own error line then).
bool Construct_Info_Tag(Component& c, DocumentState& document, MappingObject& object, std::string& text);
// The statements its readers run for the object, in their order.
std::vector<Statement> InfoStatements(const Component& c, const MappingObject& object);

// A table's TFLD and IND elements, appended to `out`.
bool AppendTableDescription(Component& c, DocumentState& document, std::string_view appl, const MappingObject& table,
                            std::string& out);
// After the tables: the variables and the source side, appended to `out`.
bool AppendVariablesAndSourceSide(Component& c, DocumentState& document, MappingObject& object, std::string& out);

}  // namespace tqlm
