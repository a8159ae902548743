// Escaping of element text.
#pragma once

#include <string>
#include <string_view>

#include "core/component.h"

namespace tqlm {

// "&", "<" and ">" as entities, in that order: the inline escaping of the
// generator's writers (double quotes are left alone).
std::string EscapeAmpLtGt(std::string_view text);

// "&", "<", ">" and the double quote as entities, in that order, so an
// entity already in the text is escaped a second time.
std::string EscapeAmpLtGtQuot(std::string_view text);

// The legacy writers' escaping (EscapeAmpLtGtQuot under the legacy trap).
std::string Escape_XML_Text(Component& c, std::string_view text);

}  // namespace tqlm
