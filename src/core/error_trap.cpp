#include "core/error_trap.h"

namespace tqlm {

void ReportError(Component& c, const TrapStyle& style, const VbError& error, std::string_view hint) {
  std::string line = ErrorLine(style, error, hint);
  if (style.storesDescription) {
    c.run.errorDescription = line;
    ++c.run.descriptionsStored;
  }
  if (style.call == LogCall::WriteLine)
    c.Log().WriteLine(line);
  else
    c.Log().Write(line);
}

}  // namespace tqlm
