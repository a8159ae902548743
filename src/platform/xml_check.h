// Stand-in for the DOM parser's loadXML check of a document fragment.
#pragma once

#include <string_view>

namespace tqlm {

// True when `text` (Windows-1252 bytes, parsed as ISO-8859-1) is exactly one
// well-formed root element with nothing but white space, comments and
// processing instructions around it.
bool IsWellFormedXml(std::string_view text);

// True when `text` has the plain shape of the writers' markup and is
// well-formed: one root element, ASCII names, double-quoted attributes,
// printable ASCII text with only the five predefined entities, white space
// around it. False says nothing: anything else is for IsWellFormedXml to
// decide.
bool IsPlainWellFormedXml(std::string_view text);

// True when `name` (ISO-8859-1 as above) is an XML name: a letter, "_" or
// ":" first, then also digits, ".", "-" and the middle dot.
bool IsXmlName(std::string_view name);

}  // namespace tqlm
