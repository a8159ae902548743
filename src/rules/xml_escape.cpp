#include "rules/xml_escape.h"

#include <string>
#include <string_view>

#include "core/error_trap.h"

namespace tqlm {

namespace {

// The entity of a character that is escaped, else nothing.
std::string_view EntityOf(char ch, bool quote) {
  switch (ch) {
    case '&': return "&amp;";
    case '<': return "&lt;";
    case '>': return "&gt;";
    case '"': return quote ? "&quot;" : "";
    default: return "";
  }
}

// One pass that gives what the replacements in turn give: no entity that an
// earlier one writes holds a character that a later one replaces.
std::string Escaped(std::string_view text, bool quote) {
  std::string out;
  std::size_t copied = 0;
  for (std::size_t at = 0; at < text.size(); ++at) {
    const std::string_view entity = EntityOf(text[at], quote);
    if (entity.empty()) continue;
    if (out.empty()) out.reserve(text.size() + text.size() / 8 + 8);
    out.append(text.substr(copied, at - copied)).append(entity);
    copied = at + 1;
  }
  out.append(text.substr(copied));
  return out;
}

}  // namespace

std::string EscapeAmpLtGt(std::string_view text) { return Escaped(text, false); }

std::string EscapeAmpLtGtQuot(std::string_view text) { return Escaped(text, true); }

std::string Escape_XML_Text(Component& c, std::string_view text) {
  std::string escaped;
  Trapped(c, kLegacyTrap, [&] {
    escaped = EscapeAmpLtGtQuot(text);
    return true;
  });
  return escaped;
}

}  // namespace tqlm
