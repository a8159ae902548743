#include "document/create_xml.h"
#include "interface/error_trap.h"

namespace tqlm {

// M-script documents are not built yet: the object is reported as failed
// with a line that says so, and counted as an error by the run.
bool Create_MScript_XML(Component& c, MappingObject) {
  return Trapped(c, kGeneratorTrap, [&]() -> bool {
    Raise(kErrInvalidCall, "Create_MScript_XML", "M-script documents are not available in this build");
  });
}

}  // namespace tqlm
