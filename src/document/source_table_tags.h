// The source-table tags: every source table's main query and select blocks.
#pragma once

#include <string>
#include <string_view>

#include "core/component.h"
#include "core/mapping_object.h"

namespace tqlm {

// The statement that reads the object's source queries.
Statement SourceQueriesStatement(const Component& c, const MappingObject& object);
bool Construct_Source_Table_Tags(Component& c, const MappingObject& object, std::string& text);

}  // namespace tqlm
