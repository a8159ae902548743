// The source side of the generator's INFO section: SRCFIELD and SRCINDEX,
// the fields and indexes of the source tables of the source-table list.
#pragma once

#include <string>
#include <string_view>

#include "core/component.h"

namespace tqlm {

// The statements that read the plain fields and the indexes of the source
// tables.
Statement SourceFieldsStatement(std::string_view sapp, std::string_view stbl);
Statement SourceIndexesStatement(std::string_view sapp, std::string_view stbl);

// No trap of its own: an error reaches the INFO writer's trap.
bool Construct_SrcField_Tag(Component& c, std::string_view sapp, std::string_view stbl, std::string& text);
bool Construct_SrcIndex_Tag(Component& c, std::string_view sapp, std::string_view stbl, std::string& text);

}  // namespace tqlm
