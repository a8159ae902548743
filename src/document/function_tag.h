// The FUNCTION element: the mapping object's own functions.
#pragma once

#include <string>
#include <string_view>

#include "core/component.h"
#include "core/mapping_object.h"

namespace tqlm {

// The statement that reads the object's functions.
Statement FunctionsStatement(const Component& c, const MappingObject& object);
bool Construct_Function_Tag(Component& c, const MappingObject& object, std::string& text);

}  // namespace tqlm
