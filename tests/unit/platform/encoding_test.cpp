// The encodings of the bytes written: Windows-1252 against UTF-8, Base64.

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include <tqlm/base64.h>
#include "platform/codepage.h"

namespace tqlm {
namespace {

TEST(Codepage, Windows1252BothWaysAndEveryByteSurvivesARoundTrip) {
  EXPECT_EQ(Utf8ToAnsi("caf\u00e9 \u00a0\u00ff \u20ac\u0160\u2122\u0178"), "caf\xE9 \xA0\xFF \x80\x8A\x99\x9F");
  EXPECT_EQ(AnsiToUtf8("\x80\x85\x9F"), "\u20ac\u2026\u0178");
  std::string all;
  for (int c = 0; c < 256; ++c) all.push_back(static_cast<char>(c));
  EXPECT_EQ(Utf8ToAnsi(AnsiToUtf8(all)), all);
  // The undefined bytes travel as the C1 controls of the same number.
  EXPECT_EQ(AnsiToUtf8("\x81\x8D\x8F\x90\x9D"), "\u0081\u008d\u008f\u0090\u009d");
}

TEST(Codepage, UnmappableAndMalformedCharactersBecomeQuestionMarks) {
  EXPECT_EQ(Utf8ToAnsi("a\u4e2db"), "a?b");            // CJK
  EXPECT_EQ(Utf8ToAnsi("\U0001F600"), "?");            // outside the basic plane
  EXPECT_EQ(Utf8ToAnsi("\u0080\u009f\u0100"), "???");  // C1 controls without a byte, Ā
  // Malformed bytes become one question mark each.
  EXPECT_EQ(Utf8ToAnsi("\xC3"), "?");
  EXPECT_EQ(Utf8ToAnsi("x\xC3y"), "x?y");
  EXPECT_EQ(Utf8ToAnsi("\xE2\x82z"), "??z");          // truncated sequence
  EXPECT_EQ(Utf8ToAnsi("\x80\xBF"), "??");            // stray continuation bytes
  EXPECT_EQ(Utf8ToAnsi("\xC0\x80"), "??");            // overlong NUL
  EXPECT_EQ(Utf8ToAnsi("\xED\xA0\x80"), "???");       // surrogate
  EXPECT_EQ(Utf8ToAnsi("\xF4\x90\x80\x80"), "????");  // past U+10FFFF
  EXPECT_EQ(Utf8ToAnsi("\xFF\xC3\xA9"), "?\xE9");     // good sequence after a bad byte
}

// The wide text of database drivers: pairs for characters beyond the basic
// plane, "?" for each malformed byte, a lone surrogate kept as it stands.
TEST(Codepage, Utf16BothWays) {
  EXPECT_EQ(Utf8ToUtf16("caf\u00e9 \u20ac \U0001F600"), u"caf\u00e9 \u20ac \U0001F600");
  EXPECT_EQ(Utf8ToUtf16("a\xC3(\xF0\x9F"), u"a?(??");
  EXPECT_EQ(Utf16ToUtf8(u"caf\u00e9 \u20ac \U0001F600"), "caf\u00e9 \u20ac \U0001F600");
  EXPECT_EQ(Utf8ToAnsi(Utf16ToUtf8(std::u16string(u"x") + char16_t(0xD800) + u"y")), "x???y");
}

// The one-pass conversions give what the way through UTF-8 gives, for every
// byte, every UTF-16 unit (lone surrogates included) and a pair.
TEST(Codepage, OnePassConversionsEqualTheWayThroughUtf8) {
  std::string bytes;
  for (int b = 0; b < 256; ++b) bytes.push_back(static_cast<char>(b));
  EXPECT_EQ(AnsiToUtf16(bytes), Utf8ToUtf16(AnsiToUtf8(bytes)));
  for (char32_t unit = 0; unit <= 0xFFFF; ++unit) {
    const std::u16string text{u'a', static_cast<char16_t>(unit), u'b'};
    ASSERT_EQ(Utf16ToAnsi(text), Utf8ToAnsi(Utf16ToUtf8(text))) << "unit " << static_cast<unsigned>(unit);
  }
  const std::u16string pair{u'x', char16_t(0xD83D), char16_t(0xDE00), char16_t(0xDC00), char16_t(0xD800)};
  EXPECT_EQ(Utf16ToAnsi(pair), "x?" + std::string(6, '?'));
  EXPECT_EQ(Utf16ToAnsi(pair), Utf8ToAnsi(Utf16ToUtf8(pair)));
}

TEST(Base64, KnownValuesPaddingAndLineBreaks) {
  // Windows-1252 bytes are encoded as they are: "é" is the single byte E9.
  for (const auto& [plain, encoded] : {std::pair<std::string, std::string>{"", ""}, {"f", "Zg=="}, {"fo", "Zm8="},
                                       {"foo", "Zm9v"}, {"foob", "Zm9vYg=="}, {"\xE9", "6Q=="},
                                       {std::string("\x00\xFF\xFE", 3), "AP/+"}}) {
    EXPECT_EQ(Encode_Base64(plain), encoded);
  }
  // Lines break after 76 characters, only when more follows.
  std::string line;  // 57 bytes: one full line
  for (int i = 0; i < 19; ++i) line += "YWFh";
  EXPECT_EQ(Encode_Base64(std::string(57, 'a')), line);
  EXPECT_EQ(Encode_Base64(std::string(58, 'a')), line + "\r\nYQ==");
  EXPECT_EQ(Encode_Base64(std::string(114, 'a')), line + "\r\n" + line);
}

}  // namespace
}  // namespace tqlm
