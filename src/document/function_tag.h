// The FUNCTION element: the mapping object's own functions.
#pragma once

#include <vector>

#include <string>
#include <string_view>

#include "core/component.h"
#include "core/mapping_object.h"

namespace tqlm {

// The statement that reads the object's functions.
Statement FunctionsStatement(const Component& c, const MappingObject& object);
std::vector<Statement> FunctionStatements(const Component& c, const MappingObject& object);
// Reads the declarations of `document`; the legacy class also its include
// text, which it leaves as the document's functions.
bool Construct_Function_Tag(Component& c, DocumentState& document, const MappingObject& object, std::string& text);

}  // namespace tqlm
