#include "interface/error_trap.h"

namespace tqlm {

std::string ErrorLine(const TrapStyle& style, const VbError& error) {
  std::string line;
  line.reserve(style.prefix.size() + 16 + error.description.size() + style.suffix.size());
  line.append(style.prefix);
  line.append(ErrNumberText(error.number));
  line.append(style.separator);
  line.append(error.description);
  line.append(style.suffix);
  return line;
}

void ReportError(Component& c, const TrapStyle& style, const VbError& error) {
  std::string line = ErrorLine(style, error);
  if (style.storesDescription) c.errorDescription = line;
  if (style.call == LogCall::WriteLine)
    c.Log().WriteLine(line);
  else
    c.Log().Write(line);
}

}  // namespace tqlm
