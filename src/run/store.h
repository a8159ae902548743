// The store step: the only place where a run's documents reach the file
// system. A document's folder is made, its file written under a temporary
// name that takes the final name when complete, and what its build logged
// goes to the log, in the run's order. A checking run compares each file
// with the one there instead, and makes and writes nothing.
#pragma once

#include "core/component.h"
#include "document/document_file.h"
#include "sidefiles/side_file.h"

namespace tqlm {

// Stores a built document as the writer that built it would have: its
// handled members (an M-script's) first, then what it logged before naming
// its folder, the folder (a folder that cannot be made ends the document
// there, with its writer's error line), the rest of its log and its error
// description, and the file when the build was complete. True when the file
// was written. The document's state becomes the object's, and the document
// is left with the state the object had.
bool StoreDocument(Component& c, BuiltDocument& document);

// Stores one writer's side files: a name it began and did not complete
// loses any file of that name; the files it completed are written, in order.
// A file that cannot be written raises, and then no name the writer began
// keeps a file.
void StoreSideFiles(Component& c, const SideFiles& files);

}  // namespace tqlm
