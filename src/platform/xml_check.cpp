#include "platform/xml_check.h"

#include <expat.h>

#include <algorithm>
#include <climits>
#include <cstddef>
#include <memory>
#include <random>

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

// A parser's hash salt guards its name tables against texts made to collide.
// One salt drawn per process guards them as well as one per parser, without
// asking the system for random bytes for every check. Without a source of
// random numbers there is no salt (0), and each parser draws its own.
unsigned long ProcessSalt() {
  static const unsigned long salt = []() -> unsigned long {
    try {
      std::random_device device;
      return (static_cast<unsigned long>(device()) << 32) ^ device();
    } catch (...) {
      return 0;
    }
  }();
  return salt;
}

// Each thread keeps its parser between checks and resets it for the next
// text; one that took a large text is let go with it, along with the buffer
// it grew.
constexpr std::size_t kKeptParserLimit = std::size_t{1} << 20;

Parser& ThreadParser() {
  thread_local Parser parser;
  return parser;
}

}  // namespace

bool IsWellFormedXml(std::string_view text) {
  try {
    // Every byte of Windows-1252 text is a character of ISO-8859-1, so the
    // bytes need no conversion; the encoding given here also overrides any
    // declaration inside the text.
    static constexpr XML_Char kEncoding[] = "ISO-8859-1";
    Parser& parser = ThreadParser();
    if (!parser || !XML_ParserReset(parser.get(), kEncoding)) parser.reset(XML_ParserCreate(kEncoding));
    if (!parser) return false;
    if (ProcessSalt() != 0) XML_SetHashSalt(parser.get(), ProcessSalt());
    CheckState state{parser.get(), false};
    XML_SetUserData(parser.get(), &state);
    XML_SetStartDoctypeDeclHandler(parser.get(), OnDoctype);
    const bool wellFormed = ParseAll(parser.get(), text) && !state.saw_doctype;
    if (text.size() > kKeptParserLimit) parser.reset();
    return wellFormed;
  } catch (...) {
    ThreadParser().reset();
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
