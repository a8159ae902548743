// M-script documents: one document for the parent of a group of mapping
// objects that the engine runs as one unit, covering all its members.
#pragma once

#include <string>
#include <string_view>

#include "core/component.h"
#include "core/mapping_object.h"
#include "document/document_file.h"

namespace tqlm {

// The M-script document of the object's parent, complete when every section
// was written; it touches no file (the run stores it).
BuiltDocument Create_MScript_XML(Component& c, MappingObject object);

// The member list of the M-script of a member, as its document would name
// it; raises 991 when the member has no parent.
std::string MScriptMembers(Component& c, const MappingObject& child);

// The INFO section and the dumps of an M-script document, over its members.
bool Construct_MScript_info_Tag(Component& c, DocumentState& document, MappingObject& object, std::string& text);
bool Construct_Dump_Tags(Component& c, DocumentState& document, const MappingObject& object, std::string& text);

}  // namespace tqlm
