// The variable declarations of a mapping object, inside the INFO section.
#pragma once

#include <string>
#include <string_view>

#include "core/component.h"
#include "core/mapping_object.h"

namespace tqlm {

// The statement that reads the object's variable declarations.
Statement VariablesStatement(const MappingObject& object);

// Include lines go to INCLUDE, declarations to VAR and to the document's
// declarations text that the rule rewriting reads. `tableCodes` lists the
// tables whose row size the generator's 2 GB check names. The legacy class
// extends the object's source-table list by the tables that included
// functions declare; the later sections of the document see them.
// Reads the split declarations of `document`; fills its declarations and
// (legacy) its include text.
bool Construct_Variable_Tag(Component& c, DocumentState& document, MappingObject& object, std::string& text,
                            std::string_view tableCodes);

}  // namespace tqlm
