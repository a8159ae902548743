// The source-table tags: every source table's main query and select blocks.
#pragma once

#include <vector>

#include <string>
#include <string_view>

#include "core/component.h"
#include "core/mapping_object.h"

namespace tqlm {

// The statement that reads the object's source queries.
Statement SourceQueriesStatement(const Component& c, const MappingObject& object);
std::vector<Statement> SourceTableStatements(const Component& c, const MappingObject& object);
// Reads the count of "migrate" words, the split conditions and the
// declarations of `document`.
bool Construct_Source_Table_Tags(Component& c, DocumentState& document, const MappingObject& object, std::string& text);

}  // namespace tqlm
