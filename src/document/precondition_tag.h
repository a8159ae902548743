// The PRE-CONDITIONS element.
#pragma once

#include <string>
#include <string_view>

#include "core/component.h"
#include "core/mapping_object.h"

namespace tqlm {

// Also counts the "migrate" statements that size the source-table tags.
// Reads the declarations of `document`; sets its count of "migrate" words.
bool Construct_PreCondition_Tag(Component& c, DocumentState& document, const MappingObject& object, std::string& text);

}  // namespace tqlm
