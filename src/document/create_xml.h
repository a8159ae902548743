// The writers of whole documents: one mapping object (Create_XML) or one
// M-script covering several (Create_MScript_XML). Both return True when the
// file was written.
#pragma once

#include "document/mapping_object.h"
#include "interface/component.h"

namespace tqlm {

bool Create_XML(Component& c, MappingObject object);
bool Create_MScript_XML(Component& c, MappingObject object);

}  // namespace tqlm
