// The PRE-CONDITIONS element.
#pragma once

#include <string>
#include <string_view>

#include "core/component.h"
#include "core/mapping_object.h"

namespace tqlm {

// Also counts the "migrate" statements that size the source-table tags.
bool Construct_PreCondition_Tag(Component& c, const MappingObject& object, std::string& text);

}  // namespace tqlm
