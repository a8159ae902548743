// The variable declarations of a mapping object, inside the INFO section.
#pragma once

#include <string>
#include <string_view>

#include "core/component.h"
#include "core/mapping_object.h"

namespace tqlm {

// Include lines go to INCLUDE, declarations to VAR and to the document's
// declarations text that keyword rewriting reads. `tableCodes` lists the
// tables whose row size the 2 GB check names.
bool Construct_Variable_Tag(Component& c, const MappingObject& object, std::string& text,
                            std::string_view tableCodes);

}  // namespace tqlm
