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

// Generator: rules for the data-dictionary engine, the value in a VALUE
// element.
std::string GeneratorUnmappedElement(const CFieldInfo& field, const std::string& name);
// The source-domain lookup that GeneratorMappedElement makes for a rule, or
// empty when it makes none.
Statement GeneratorSourceDomainStatement(const MappingObject& object, const CFieldInfo& field, const CDumpInfo& rule);
// `declarations` are the document's, for the keyword rewriting.
std::string GeneratorMappedElement(Component& c, std::string_view declarations, const MappingObject& object,
                                   const CFieldInfo& field, const CDumpInfo& rule, const std::string& name);

// Legacy: rules for the script engine (conversion objects ObjCnv), the value
// as the element's text. The rule is escaped already.
std::string LegacyUnmappedElement(const CFieldInfo& field, const std::string& name);
std::string LegacyMappedElement(const MappingObject& object, const CFieldInfo& field, const CDumpInfo& rule,
                                const std::string& name);

}  // namespace tqlm
