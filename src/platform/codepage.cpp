#include "platform/codepage.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

namespace tqlm {

namespace {

// Code points of the bytes 0x80-0x9F. The five bytes Windows-1252 leaves
// undefined stand for the C1 control of the same number, so that any byte
// string survives a trip through UTF-8 and back.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

constexpr char32_t CodePointOf(unsigned char byte) {
  return byte >= 0x80 && byte <= 0x9F ? kHighControls[byte - 0x80] : char32_t{byte};
}

// ---------------------------------------------------------------------------
// Windows-1252 -> UTF-8: every byte has a ready-made encoding.

struct Utf8Form {
  std::array<char, 4> bytes{};
  std::uint8_t size = 0;
};

constexpr Utf8Form EncodeUtf8(char32_t cp) {
  Utf8Form form;
  if (cp < 0x80) {
    form.bytes[0] = static_cast<char>(cp);
    form.size = 1;
  } else if (cp < 0x800) {
    form.bytes[0] = static_cast<char>(0xC0 | (cp >> 6));
    form.bytes[1] = static_cast<char>(0x80 | (cp & 0x3F));
    form.size = 2;
  } else if (cp < 0x10000) {  // every Windows-1252 character lies in the basic plane
    form.bytes[0] = static_cast<char>(0xE0 | (cp >> 12));
    form.bytes[1] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    form.bytes[2] = static_cast<char>(0x80 | (cp & 0x3F));
    form.size = 3;
  } else {
    form.bytes[0] = static_cast<char>(0xF0 | (cp >> 18));
    form.bytes[1] = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    form.bytes[2] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    form.bytes[3] = static_cast<char>(0x80 | (cp & 0x3F));
    form.size = 4;
  }
  return form;
}

constexpr std::array<Utf8Form, 256> MakeUtf8Table() {
  std::array<Utf8Form, 256> table{};
  for (int byte = 0; byte < 256; ++byte) table[byte] = EncodeUtf8(CodePointOf(static_cast<unsigned char>(byte)));
  return table;
}

constexpr std::array<Utf8Form, 256> kUtf8OfByte = MakeUtf8Table();

// ---------------------------------------------------------------------------
// UTF-8 -> Windows-1252

struct WideMapping {
  char32_t code_point;
  unsigned char byte;
};

// The characters above U+00FF that Windows-1252 has, sorted by code point.
constexpr std::array<WideMapping, 27> MakeWideTable() {
  std::array<WideMapping, 27> table{};
  std::size_t count = 0;
  for (int byte = 0x80; byte <= 0x9F; ++byte) {
    char32_t cp = kHighControls[byte - 0x80];
    if (cp > 0xFF) table[count++] = WideMapping{cp, static_cast<unsigned char>(byte)};
  }
  std::sort(table.begin(), table.end(),
            [](const WideMapping& a, const WideMapping& b) { return a.code_point < b.code_point; });
  return table;
}

constexpr std::array<WideMapping, 27> kWideToByte = MakeWideTable();

constexpr char kUnmappable = '?';

// The byte of a code point at or above U+0080.
char ByteOf(char32_t cp) {
  if (cp >= 0xA0 && cp <= 0xFF) return static_cast<char>(cp);
  if (cp >= 0x80 && cp <= 0x9F) {  // only the C1 controls that stand for an undefined byte
    return kHighControls[cp - 0x80] == cp ? static_cast<char>(cp) : kUnmappable;
  }
  auto it = std::lower_bound(kWideToByte.begin(), kWideToByte.end(), cp,
                             [](const WideMapping& m, char32_t value) { return m.code_point < value; });
  return it != kWideToByte.end() && it->code_point == cp ? static_cast<char>(it->byte) : kUnmappable;
}

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// Decodes one well-formed multi-byte sequence at `pos` (lead byte >= 0x80).
// Returns its length and sets `cp`, or returns 0 when the bytes are not a
// valid sequence (overlong forms, surrogates and values past U+10FFFF
// included).
std::size_t DecodeSequence(std::string_view s, std::size_t pos, char32_t& cp) {
  auto lead = static_cast<unsigned char>(s[pos]);
  std::size_t length = 0;
  char32_t min_value = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    min_value = 0x80;
    cp = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    min_value = 0x800;
    cp = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    min_value = 0x10000;
    cp = lead & 0x07;
  } else {
    return 0;
  }
  if (pos + length > s.size()) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    auto c = static_cast<unsigned char>(s[pos + i]);
    if (!IsContinuation(c)) return 0;
    cp = (cp << 6) | (c & 0x3F);
  }
  bool surrogate = cp >= 0xD800 && cp <= 0xDFFF;
  if (cp < min_value || surrogate || cp > 0x10FFFF) return 0;
  return length;
}

// The length of the leading run of ASCII bytes.
std::size_t AsciiPrefix(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && static_cast<unsigned char>(text[i]) < 0x80) ++i;
  return i;
}

}  // namespace

std::string Utf8ToAnsi(std::string_view utf8) {
  std::string out;
  Utf8ToAnsi(utf8, out);
  return out;
}

void Utf8ToAnsi(std::string_view utf8, std::string& out) {
  // Plain ASCII, most of what a repository holds, is the same in both.
  std::size_t pos = AsciiPrefix(utf8);
  out.assign(utf8.substr(0, pos));
  if (pos == utf8.size()) return;
  out.reserve(utf8.size());
  while (pos < utf8.size()) {
    auto c = static_cast<unsigned char>(utf8[pos]);
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
      ++pos;
      continue;
    }
    char32_t cp = 0;
    std::size_t length = DecodeSequence(utf8, pos, cp);
    if (length == 0) {  // a bad byte is replaced on its own; decoding resumes after it
      out.push_back(kUnmappable);
      ++pos;
      continue;
    }
    out.push_back(ByteOf(cp));
    pos += length;
  }
}

std::string AnsiToUtf8(std::string_view ansi) {
  const std::size_t ascii = AsciiPrefix(ansi);
  std::string out(ansi.substr(0, ascii));
  if (ascii == ansi.size()) return out;
  out.reserve(ansi.size() + ansi.size() / 4);
  for (char c : ansi.substr(ascii)) {
    const Utf8Form& form = kUtf8OfByte[static_cast<unsigned char>(c)];
    out.append(form.bytes.data(), form.size);
  }
  return out;
}

std::u16string Utf8ToUtf16(std::string_view utf8) {
  std::u16string out;
  out.reserve(utf8.size());
  for (std::size_t pos = 0; pos < utf8.size();) {
    char32_t cp = static_cast<unsigned char>(utf8[pos]);
    std::size_t length = 1;
    if (cp >= 0x80 && (length = DecodeSequence(utf8, pos, cp)) == 0) {
      cp = static_cast<unsigned char>(kUnmappable);  // a bad byte on its own
      length = 1;
    }
    pos += length;
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
  }
  return out;
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
  std::string out;
  out.reserve(utf16.size());
  for (std::size_t i = 0; i < utf16.size(); ++i) {
    char32_t cp = utf16[i];
    if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 && utf16[i + 1] < 0xE000)
      cp = 0x10000 + ((cp - 0xD800) << 10) + (utf16[++i] - 0xDC00);
    const Utf8Form form = EncodeUtf8(cp);
    out.append(form.bytes.data(), form.size);
  }
  return out;
}

std::u16string AnsiToUtf16(std::string_view ansi) {
  std::u16string out;
  out.reserve(ansi.size());
  // Every Windows-1252 character lies in the basic plane: one unit each.
  for (char c : ansi) out.push_back(static_cast<char16_t>(CodePointOf(static_cast<unsigned char>(c))));
  return out;
}

std::string Utf16ToAnsi(std::u16string_view utf16) {
  std::string out;
  out.reserve(utf16.size());
  for (std::size_t i = 0; i < utf16.size(); ++i) {
    const char32_t unit = utf16[i];
    if (unit < 0x80) {
      out.push_back(static_cast<char>(unit));
    } else if (unit < 0xD800 || unit >= 0xE000) {
      out.push_back(ByteOf(unit));
    } else if (unit < 0xDC00 && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 && utf16[i + 1] < 0xE000) {
      ++i;  // a pair: a character past the basic plane, which Windows-1252 lacks
      out.push_back(kUnmappable);
    } else {
      out.append(3, kUnmappable);
    }
  }
  return out;
}

}  // namespace tqlm
