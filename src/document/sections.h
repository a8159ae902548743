// The section writers of a document, in the order a document holds them.
// Each returns its fragment through `text` (cleared by the caller) and True,
// or False when it failed (it has logged its own error line then).
#pragma once

#include <string>

#include "document/mapping_object.h"
#include "interface/component.h"

namespace tqlm {

bool Construct_Info_Tag(Component& c, const MappingObject& object, std::string& text);
bool Construct_PreCondition_Tag(Component& c, const MappingObject& object, std::string& text);
bool Construct_Source_Table_Tags(Component& c, const MappingObject& object, std::string& text);
bool Construct_Function_Tag(Component& c, const MappingObject& object, std::string& text);
// `mscript` is True for the members of an M-script; the dump writer does not
// read it.
bool Construct_Dump_Tag(Component& c, const MappingObject& object, bool mscript, std::string& text);

// The INFO section and the dumps of an M-script document, over its members.
bool Construct_MScript_info_Tag(Component& c, const MappingObject& object, std::string& text);
bool Construct_Dump_Tags(Component& c, const MappingObject& object, std::string& text);

}  // namespace tqlm
