#include "core/trap_style.h"

namespace tqlm {

std::string ErrorLine(const TrapStyle& style, const VbError& error, std::string_view hint) {
  std::string line;
  line.reserve(style.prefix.size() + 16 + error.description.size() + hint.size() + style.suffix.size());
  line.append(style.prefix);
  line.append(ErrNumberText(error.number));
  line.append(style.separator);
  line.append(error.description);
  line.append(hint);
  line.append(style.suffix);
  return line;
}

}  // namespace tqlm
