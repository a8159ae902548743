// Stand-in for the DOM parser's loadXML check of a document fragment.
#pragma once

#include <string_view>

namespace tqlm {

// True when `text` (Windows-1252 bytes, parsed as ISO-8859-1) is exactly one
// well-formed root element with nothing but white space, comments and
// processing instructions around it.
bool IsWellFormedXml(std::string_view text);

}  // namespace tqlm
