// The writer of one mapping object's document.
#pragma once

#include "core/component.h"
#include "core/mapping_object.h"
#include "document/document_file.h"

namespace tqlm {

// The document of the object, complete when every section was written; it
// touches no file (the run stores it). Its state is built in `room`, a state
// an earlier build left, cleared first.
BuiltDocument Create_XML(Component& c, MappingObject object, DocumentState room = {});

}  // namespace tqlm
