// The element of one target field inside a dump: the field's rule rewritten
// for the engine, or its initial value when the dump has no rule for it.
#pragma once

#include <string>

#include "core/mapping_object.h"
#include "core/component.h"

namespace tqlm {

// Element names: the field name upper-cased, "(" as "-" and ")" dropped, so
// amnt(2) is AMNT-2.
std::string FieldElementName(const std::string& fieldName);

std::string GeneratorUnmappedElement(const CFieldInfo& field, const std::string& name);
std::string GeneratorMappedElement(Component& c, const MappingObject& object, const CFieldInfo& field,
                                   const CDumpInfo& rule, const std::string& name);

}  // namespace tqlm
