#include "core/component.h"

#include "platform/error.h"

namespace tqlm {

Component::Component(const ClassTraits& t) : traits(t) {
  settings.statusList = traits.initialStatusList;
  settings.traverseGeneration = traits.initialTraverse;
  if (traits.fixedWidthBounds) {
    settings.packageFrom = settings.packageTo = "  ";
    settings.moduleFrom = settings.moduleTo = settings.tableFrom = settings.tableTo = "   ";
    run.currentPac = "  ";
    run.currentMod = run.currentFlno = "   ";
  }
}

TextStream& Component::Log() const {
  if (!services.log) Raise(kErrObjectNotSet);
  return *services.log;
}

}  // namespace tqlm
