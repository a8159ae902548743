#include "interface/component.h"

#include "platform/error.h"

namespace tqlm {

Component::Component(ClassKind k) : kind(k) {
  if (IsGenerator()) {
    // The legacy class starts with everything empty and every flag off.
    statusList = "'V','G','E'";
    traverseGeneration = kTrue;
    packageFrom = packageTo = "  ";
    moduleFrom = moduleTo = tableFrom = tableTo = "   ";
    currentPac = "  ";
    currentMod = currentFlno = "   ";
  }
}

TextStream& Component::Log() const {
  if (!log) Raise(kErrObjectNotSet);
  return *log;
}

void ResetDocumentState(Component& c) {
  DocumentState& d = c.document;
  d.fields.RemoveAll();
  if (c.IsGenerator()) {
    d.migrateCount = 0;
    d.sourceCounter = 0;
    d.declarations.clear();
    d.tableNames.assign(2, std::string());
    d.sourceNames.assign(2, std::string());
  } else {
    d.migrateCount = 0;
    d.sourceCounter = 0;
    d.legacyScratch.clear();
  }
}

}  // namespace tqlm
