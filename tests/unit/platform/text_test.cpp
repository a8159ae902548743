// The text helpers at the edges the documents do not reach: invalid
// arguments, Windows-1252 letter case and number texts.

#include "platform/text.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <utility>

#include "platform/error.h"
#include "support/test_support.h"

namespace tqlm {
namespace {

using test_support::RaisedNumber;
using Calls = std::initializer_list<std::function<void()>>;

TEST(Text, InvalidArgumentsRaise5) {
  for (auto call : Calls{[] { InStr(0, "abc", "a"); }, [] { InStr(-1, "", ""); }, [] { Mid("abc", 0); },
                         [] { Mid("abc", 1, -1); },  // a computed length, not "to the end"
                         [] { Left("abc", -1); }, [] { Right("abc", -1); }, [] { Space(-1); }}) {
    EXPECT_EQ(RaisedNumber(call), kErrInvalidCall);
  }
}

TEST(Text, LetterCaseFollowsWindows1252) {
  EXPECT_EQ(InStr("xx\xC9T\xC9", "\xE9t\xE9", Compare::Text), 3);  // ÉTÉ / été
  EXPECT_EQ(InStr("\x8A\x9F", "\x9A\xFF", Compare::Text), 1);      // ŠŸ / šÿ
  EXPECT_EQ(InStr("\xD7", "\xF7", Compare::Text), 0);              // × and ÷ are not a pair
  EXPECT_EQ(UCase("az\x9A\x9C\x9E\xFF\xE0\xE9\xF6\xFE"), "AZ\x8A\x8C\x8E\x9F\xC0\xC9\xD6\xDE");
  // No case partner: × ÷ ß µ, and the other symbols of the upper half.
  EXPECT_EQ(UCase("\xD7\xF7\xDF\xB5\x80\xA9") + LCase("\xD7\xF7\xDF\xB5\x80\xA9"),
            "\xD7\xF7\xDF\xB5\x80\xA9\xD7\xF7\xDF\xB5\x80\xA9");
  for (int c = 0; c < 256; ++c) {
    std::string byte(1, static_cast<char>(c));
    if (UCase(byte) != byte) {
      EXPECT_EQ(LCase(UCase(byte)), byte) << "byte " << c;
    }
  }
}

TEST(Text, NumbersFromText) {
  for (const char* text : {" 12 ", "1.", "1,,2", "2.5e-3", "1D-2", "&h1f", " &HFF "}) {
    EXPECT_TRUE(IsNumeric(text)) << '"' << text << '"';
  }
  for (const char* text : {"", ".", "1e+", "1 2", ",5", "1,", "1.5,0", "&HG", "&O8", "\t1", "1e400", "- 1"}) {
    EXPECT_FALSE(IsNumeric(text)) << '"' << text << '"';
  }
  EXPECT_DOUBLE_EQ(CDbl("1,234.5D2"), 123450.0);
  EXPECT_DOUBLE_EQ(CDbl("&HFFFF"), -1.0);  // 16-bit pattern
  EXPECT_DOUBLE_EQ(CDbl("&H10000"), 65536.0);
  EXPECT_DOUBLE_EQ(CDbl("&HFFFFFFFF"), -1.0);  // 32-bit pattern
  EXPECT_DOUBLE_EQ(Val(" -1 2.5,0 kg"), -12.5);
  EXPECT_EQ(CIntText("2.5") + CIntText("3.5"), 6);  // half to even
  for (auto call : Calls{[] { CDbl("abc"); }, [] { CDbl(""); }, [] { CIntText("12x"); }}) {
    EXPECT_EQ(RaisedNumber(call), kErrTypeMismatch);
  }
  for (auto call : Calls{[] { CDbl("1e400"); }, [] { CDbl("&H100000000"); }, [] { CIntText("32768"); },
                         [] { CLngText("2147483648"); }}) {
    EXPECT_EQ(RaisedNumber(call), kErrOverflow);
  }
}

TEST(Text, NumbersAsText) {
  // Fifteen significant digits; rounding to them may move the exponent.
  const std::pair<double, const char*> cases[] = {
      {-0.0, "0"}, {-3.25, "-3.25"}, {0.1 + 0.2, "0.3"}, {1.0 / 3.0, "0.333333333333333"}, {0.0001, "0.0001"},
      {0.000015, "1.5E-05"}, {-0.00001, "-1E-05"}, {1e15, "1E+15"}, {999999999999999.0, "999999999999999"},
      {9999999999999999.0, "1E+16"}, {123456789012345678.0, "1.23456789012346E+17"}, {1e-100, "1E-100"},
      {1e300, "1E+300"}};
  for (const auto& [number, text] : cases) EXPECT_EQ(CStr(number), text) << text;
  EXPECT_EQ(Str(12) + Str(-3), " 12-3");
  EXPECT_EQ(FormatGrouped(std::numeric_limits<long long>::min()), "-9,223,372,036,854,775,808");
}

}  // namespace
}  // namespace tqlm
