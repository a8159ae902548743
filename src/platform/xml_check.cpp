#include "platform/xml_check.h"

#include <expat.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstddef>
#include <memory>
#include <random>
#include <vector>

namespace tqlm {

namespace {

// What each byte may be in markup, looked up once per byte.
enum CharClass : unsigned char {
  kNameStart = 1,  // may begin a name (ISO-8859-1 letters included)
  kNameChar = 2,   // may continue one
  kSpace = 4,      // white space between markup
  kPlain = 8,      // printable ASCII and the three white-space controls
  kTextRun = 16,   // plain text that needs no second look: not '<', '&', '>'
  kValueRun = 32,  // plain attribute text that needs none: not '<', '&', '"'
  kAsciiNameStart = 64,  // the same, of ASCII characters only
  kAsciiNameChar = 128,
};

constexpr std::array<unsigned char, 256> kClasses = [] {
  std::array<unsigned char, 256> classes{};
  for (int ch = 0; ch < 256; ++ch) {
    unsigned char c = 0;
    const bool nameStart = (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') || ch == '_' || ch == ':' ||
                           (ch >= 0xC0 && ch <= 0xD6) || (ch >= 0xD8 && ch <= 0xF6) || ch >= 0xF8;
    if (nameStart) c |= kNameStart;
    if (nameStart || (ch >= '0' && ch <= '9') || ch == '.' || ch == '-' || ch == 0xB7) c |= kNameChar;
    if (ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n') c |= kSpace;
    const bool plain = (ch >= 0x20 && ch <= 0x7E) || ch == '\t' || ch == '\r' || ch == '\n';
    if (plain) c |= kPlain;
    if (plain && ch != '<' && ch != '&' && ch != '>') c |= kTextRun;
    if (plain && ch != '<' && ch != '&' && ch != '"') c |= kValueRun;
    if (ch < 0x80) c |= (c & kNameStart ? kAsciiNameStart : 0) | (c & kNameChar ? kAsciiNameChar : 0);
    classes[static_cast<std::size_t>(ch)] = c;
  }
  return classes;
}();

inline bool Is(char ch, CharClass c) { return (kClasses[static_cast<unsigned char>(ch)] & c) != 0; }

bool IsNameStart(unsigned char ch) { return (kClasses[ch] & kNameStart) != 0; }
bool IsNameChar(unsigned char ch) { return (kClasses[ch] & kNameChar) != 0; }

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

// The plain shape of the writers' markup, read byte by byte: elements with
// ASCII names, double-quoted attributes, text with the five predefined
// entities, white space around the root, and nothing else.
class PlainReader {
 public:
  explicit PlainReader(std::string_view text) : text_(text) {}

  bool Read() {
    SkipSpace();
    if (!Element()) return false;
    SkipSpace();
    return at_ == text_.size();
  }

 private:
  // Characters of text and attribute values: printable ASCII and the three
  // white-space controls.
  static bool IsPlainChar(char ch) { return Is(ch, kPlain); }
  // Moves past the bytes of class `run` from the reading position.
  void Skip(CharClass run) {
    while (at_ < text_.size() && Is(text_[at_], run)) ++at_;
  }

  bool More() const { return at_ < text_.size(); }
  char Peek() const { return text_[at_]; }
  bool Take(char ch) {
    if (!More() || Peek() != ch) return false;
    ++at_;
    return true;
  }
  bool SkipSpace() {
    const std::size_t from = at_;
    Skip(kSpace);
    return at_ > from;
  }
  // Names of ASCII characters only: the parser decides the others.
  std::string_view Name() {
    const std::size_t from = at_;
    if (!More() || !Is(Peek(), kAsciiNameStart)) return {};
    Skip(kAsciiNameChar);
    return text_.substr(from, at_ - from);
  }
  // "&amp;", "&lt;", "&gt;", "&quot;" or "&apos;" at the reading position.
  bool PredefinedEntity() {
    for (std::string_view entity : {"&amp;", "&lt;", "&gt;", "&quot;", "&apos;"}) {
      if (text_.substr(at_, entity.size()) == entity) {
        at_ += entity.size();
        return true;
      }
    }
    return false;
  }

  // A start tag's attributes and close; true with `empty` set for "/>".
  bool Attributes(bool& empty) {
    std::string_view names[kMaxAttributes];
    std::size_t count = 0;
    for (;;) {
      const bool spaced = SkipSpace();
      if (Take('>')) return true;
      if (Take('/')) return empty = Take('>');
      const std::string_view name = Name();
      if (!spaced || name.empty() || count == kMaxAttributes) return false;
      for (std::size_t i = 0; i < count; ++i)
        if (names[i] == name) return false;
      names[count++] = name;
      SkipSpace();
      if (!Take('=')) return false;
      SkipSpace();
      if (!Take('"')) return false;
      for (Skip(kValueRun); More() && Peek() != '"'; Skip(kValueRun)) {
        if (Peek() == '&') {
          if (!PredefinedEntity()) return false;
        } else if (Peek() == '<' || !IsPlainChar(Peek())) {
          return false;
        } else {
          ++at_;
        }
      }
      if (!Take('"')) return false;
    }
  }

  // One element and its content, nested elements read with a stack of the
  // open names rather than by recursion, so that depth costs no stack.
  bool Element() {
    std::vector<std::string_view> open;
    do {
      if (!Take('<')) return false;
      if (Take('/')) {
        if (open.empty() || Name() != open.back()) return false;
        SkipSpace();
        if (!Take('>')) return false;
        open.pop_back();
      } else {
        const std::string_view name = Name();
        bool empty = false;
        if (name.empty() || !Attributes(empty)) return false;
        if (!empty) open.push_back(name);
      }
      if (!open.empty() && !Text()) return false;
    } while (!open.empty());
    return true;
  }

  // Text up to the next tag.
  bool Text() {
    for (Skip(kTextRun); More() && Peek() != '<'; Skip(kTextRun)) {
      const char ch = Peek();
      if (ch == '&') {
        if (!PredefinedEntity()) return false;
      } else if (!IsPlainChar(ch) || (ch == '>' && at_ >= 2 && text_.substr(at_ - 2, 2) == "]]")) {
        return false;
      } else {
        ++at_;
      }
    }
    return More();
  }

  static constexpr std::size_t kMaxAttributes = 16;
  std::string_view text_;
  std::size_t at_ = 0;
};

}  // namespace

bool IsPlainWellFormedXml(std::string_view text) {
  try {
    return PlainReader(text).Read();
  } catch (...) {
    return false;
  }
}

bool IsWellFormedXml(std::string_view text) {
  // Most fragments are of the plain shape, which a single pass certifies;
  // the parser decides every other text.
  if (IsPlainWellFormedXml(text)) return true;
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

bool IsXmlName(std::string_view name) {
  if (name.empty() || !IsNameStart(static_cast<unsigned char>(name.front()))) return false;
  for (char ch : name)
    if (!IsNameChar(static_cast<unsigned char>(ch))) return false;
  return true;
}

}  // namespace tqlm
