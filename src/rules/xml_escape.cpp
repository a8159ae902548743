#include "rules/xml_escape.h"

#include "core/error_trap.h"
#include "platform/text.h"

namespace tqlm {

std::string EscapeAmpLtGt(std::string_view text) {
  return Replace(Replace(Replace(text, "&", "&amp;"), "<", "&lt;"), ">", "&gt;");
}

std::string EscapeAmpLtGtQuot(std::string_view text) { return Replace(EscapeAmpLtGt(text), "\"", "&quot;"); }

std::string Escape_XML_Text(Component& c, std::string_view text) {
  std::string escaped;
  Trapped(c, kLegacyTrap, [&] {
    escaped = EscapeAmpLtGtQuot(text);
    return true;
  });
  return escaped;
}

}  // namespace tqlm
