#include "platform/xml_check.h"

#include <expat.h>

#include <algorithm>
#include <climits>
#include <cstddef>
#include <memory>

namespace tqlm {

namespace {

struct ParserFree {
  void operator()(XML_ParserStruct* parser) const { XML_ParserFree(parser); }
};
using Parser = std::unique_ptr<XML_ParserStruct, ParserFree>;

struct CheckState {
  XML_Parser parser = nullptr;
  bool saw_doctype = false;
};

// A fragment may not carry a document type: stop right there, before any
// internal subset (and its entities) is read.
void XMLCALL OnDoctype(void* user_data, const XML_Char*, const XML_Char*, const XML_Char*, int) {
  auto* state = static_cast<CheckState*>(user_data);
  state->saw_doctype = true;
  XML_StopParser(state->parser, XML_FALSE);
}

// expat takes lengths as int: feed longer texts in pieces.
bool ParseAll(XML_Parser parser, std::string_view text) {
  constexpr std::size_t kMaxPiece = INT_MAX / 2;
  do {
    std::size_t piece = std::min(text.size(), kMaxPiece);
    bool last = piece == text.size();
    if (XML_Parse(parser, text.data(), static_cast<int>(piece), last ? XML_TRUE : XML_FALSE) != XML_STATUS_OK) {
      return false;
    }
    text.remove_prefix(piece);
  } while (!text.empty());
  return true;
}

}  // namespace

bool IsWellFormedXml(std::string_view text) {
  try {
    // Every byte of Windows-1252 text is a character of ISO-8859-1, so the
    // bytes need no conversion; the encoding given here also overrides any
    // declaration inside the text.
    Parser parser(XML_ParserCreate("ISO-8859-1"));
    if (!parser) return false;
    CheckState state{parser.get(), false};
    XML_SetUserData(parser.get(), &state);
    XML_SetStartDoctypeDeclHandler(parser.get(), OnDoctype);
    return ParseAll(parser.get(), text) && !state.saw_doctype;
  } catch (...) {
    return false;
  }
}

namespace {

bool IsNameStart(unsigned char ch) {
  return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') || ch == '_' || ch == ':' ||
         (ch >= 0xC0 && ch <= 0xD6) || (ch >= 0xD8 && ch <= 0xF6) || ch >= 0xF8;
}

bool IsNameChar(unsigned char ch) {
  return IsNameStart(ch) || (ch >= '0' && ch <= '9') || ch == '.' || ch == '-' || ch == 0xB7;
}

}  // namespace

bool IsXmlName(std::string_view name) {
  if (name.empty() || !IsNameStart(static_cast<unsigned char>(name.front()))) return false;
  for (char ch : name)
    if (!IsNameChar(static_cast<unsigned char>(ch))) return false;
  return true;
}

}  // namespace tqlm
