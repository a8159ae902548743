#include "document/xml_escape.h"

#include "interface/error_trap.h"
#include "platform/text.h"

namespace tqlm {

std::string EscapeAmpLtGt(std::string_view text) {
  return Replace(Replace(Replace(text, "&", "&amp;"), "<", "&lt;"), ">", "&gt;");
}

std::string Escape_XML_Text(Component& c, std::string_view text) {
  std::string escaped;
  Trapped(c, kLegacyTrap, [&] {
    escaped = Replace(EscapeAmpLtGt(text), "\"", "&quot;");
    return true;
  });
  return escaped;
}

}  // namespace tqlm
