// The writer of one mapping object's document.
#pragma once

#include "core/component.h"
#include "core/mapping_object.h"

namespace tqlm {

// True when the file was written.
bool Create_XML(Component& c, MappingObject object);

}  // namespace tqlm
