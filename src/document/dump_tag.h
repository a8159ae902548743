// The dump sections: one DUMP element per dump number of the target table's
// field rules, with an element for every field of the table in each dump.
#pragma once

#include <vector>

#include <string>
#include <string_view>

#include "core/component.h"
#include "core/mapping_object.h"

namespace tqlm {

// The statement that reads the field rules of the object's table.
Statement RulesStatement(const MappingObject& object);
std::vector<Statement> DumpStatements(const Component& c, const MappingObject& object);

// `mscript` is True for the members of an M-script; the writer does not
// read it.
// Reads the field records and the declarations of `document`.
bool Construct_Dump_Tag(Component& c, const DocumentState& document, const MappingObject& object, bool mscript,
                        std::string& text);

}  // namespace tqlm
