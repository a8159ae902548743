#include "platform/text.h"

#include <gtest/gtest.h>

#include <limits>

#include "platform/error.h"
#include "support/test_support.h"

namespace tqlm {
namespace {

using test_support::RaisedNumber;

TEST(TextSearch, InStrEdgeCases) {
  EXPECT_EQ(InStr("abcabc", "c"), 3);
  EXPECT_EQ(InStr(4, "abcabc", "c"), 6);
  EXPECT_EQ(InStr(7, "abcabc", "c"), 0);
  EXPECT_EQ(InStr("abc", "x"), 0);
  EXPECT_EQ(InStr("", "x"), 0);
  EXPECT_EQ(InStr("", ""), 0);
  EXPECT_EQ(InStr(2, "abc", ""), 2);
  EXPECT_EQ(InStr(4, "abc", ""), 4);
  EXPECT_EQ(InStr(5, "abc", ""), 0);
  EXPECT_EQ(InStr(100, "abc", "a"), 0);
  EXPECT_EQ(RaisedNumber([] { InStr(0, "abc", "a"); }), kErrInvalidCall);
  EXPECT_EQ(RaisedNumber([] { InStr(-1, "", ""); }), kErrInvalidCall);
}

TEST(TextSearch, TextCompareFoldsWindows1252Letters) {
  EXPECT_EQ(InStr("Select x WHERE y", " where ", Compare::Text), 9);
  EXPECT_EQ(InStr("Select x WHERE y", " where ", Compare::Binary), 0);
  EXPECT_EQ(InStr("xx\xC9T\xC9", "\xE9t\xE9", Compare::Text), 3);  // ÉTÉ / été
  EXPECT_EQ(InStr("\x8A\x9F", "\x9A\xFF", Compare::Text), 1);       // ŠŸ / šÿ
  EXPECT_EQ(InStr("\xD7", "\xF7", Compare::Text), 0);               // × and ÷ are not a pair
  EXPECT_EQ(InStrRev("a.b.c", "."), 4);
  EXPECT_EQ(InStrRev("a.b.c", "x"), 0);
  EXPECT_EQ(InStrRev("MigrateXmigrate", "MIGRATE", -1, Compare::Text), 9);
  EXPECT_EQ(InStrRev("", "a"), 0);
}

TEST(TextSearch, InStrRevStart) {
  EXPECT_EQ(InStrRev("abcabc", "c", 5), 3);
  EXPECT_EQ(InStrRev("abcabc", "c", 6), 6);
  // The match must fit within the first `start` characters.
  EXPECT_EQ(InStrRev("abcabc", "abc", 5), 1);
  EXPECT_EQ(InStrRev("abcabc", "abc", 2), 0);
  EXPECT_EQ(InStrRev("abc", "a", 4), 0);
  EXPECT_EQ(InStrRev("abc", "", 2), 2);
  EXPECT_EQ(RaisedNumber([] { InStrRev("abc", "a", 0); }), kErrInvalidCall);
  EXPECT_EQ(RaisedNumber([] { InStrRev("abc", "a", -2); }), kErrInvalidCall);
}

TEST(TextPieces, MidLeftRight) {
  EXPECT_EQ(Mid("abcdef", 2, 3), "bcd");
  EXPECT_EQ(Mid("abcdef", 4), "def");
  EXPECT_EQ(Mid("abcdef", 5, 100), "ef");
  EXPECT_EQ(Mid("abcdef", 7), "");
  EXPECT_EQ(Mid("abcdef", 2, 0), "");
  EXPECT_EQ(Left("abc", 2), "ab");
  EXPECT_EQ(Left("abc", 10), "abc");
  EXPECT_EQ(Right("abc", 2), "bc");
  EXPECT_EQ(Right("abc", 10), "abc");
  EXPECT_EQ(Right("abc", 0), "");
  EXPECT_EQ(RaisedNumber([] { Mid("abc", 0); }), kErrInvalidCall);
  EXPECT_EQ(RaisedNumber([] { Mid("abc", 1, -2); }), kErrInvalidCall);
  EXPECT_EQ(RaisedNumber([] { Mid("abc", 1, -1); }), kErrInvalidCall);  // a computed length, not "to the end"
  EXPECT_EQ(RaisedNumber([] { Left("abc", -1); }), kErrInvalidCall);
  EXPECT_EQ(RaisedNumber([] { Right("abc", -1); }), kErrInvalidCall);
  EXPECT_EQ(RaisedNumber([] { Space(-1); }), kErrInvalidCall);
  EXPECT_EQ(Space(3), "   ");
}

TEST(TextPieces, Replace) {
  EXPECT_EQ(Replace("a.b.c", ".", "_"), "a_b_c");
  EXPECT_EQ(Replace("aaaa", "aa", "a"), "aa");  // non-overlapping, left to right
  EXPECT_EQ(Replace("abc", "", "x"), "abc");
  EXPECT_EQ(Replace("", "a", "x"), "");
  EXPECT_EQ(Replace("x default() DEFAULT()", "default()", "7", Compare::Text), "x 7 7");
  EXPECT_EQ(Replace("x default() DEFAULT()", "default()", "7"), "x 7 DEFAULT()");
  EXPECT_EQ(Replace("a b", " ", ""), "ab");
  EXPECT_EQ(ReplaceFirst("empty() empty()", "EMPTY()", "''", Compare::Text), "'' empty()");
  EXPECT_EQ(ReplaceFirst("abc", "x", "y"), "abc");
}

TEST(TextPieces, TrimRemovesBlanksOnly) {
  EXPECT_EQ(Trim("  a b  "), "a b");
  EXPECT_EQ(LTrim("  a "), "a ");
  EXPECT_EQ(RTrim("  a "), "  a");
  EXPECT_EQ(Trim("\ta\r\n"), "\ta\r\n");
  EXPECT_EQ(Trim(" \t "), "\t");
  EXPECT_EQ(Trim("   "), "");
  EXPECT_EQ(LTrim("   "), "");
  EXPECT_EQ(RTrim("   "), "");
}

TEST(TextPieces, SplitAndJoin) {
  EXPECT_TRUE(Split("", ",").empty());
  EXPECT_EQ(Split("a,b", ""), (std::vector<std::string>{"a,b"}));
  EXPECT_EQ(Split("a,,b", ","), (std::vector<std::string>{"a", "", "b"}));
  EXPECT_EQ(Split("a,", ","), (std::vector<std::string>{"a", ""}));
  EXPECT_EQ(Split(",", ","), (std::vector<std::string>{"", ""}));
  EXPECT_EQ(Split("a\r\nb", kCrLf), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(Join({"a", "", "b"}, ", "), "a, , b");
  EXPECT_EQ(Join({}, ","), "");
  EXPECT_EQ(Join(Split("x|y|z", "|"), "|"), "x|y|z");
  EXPECT_EQ(Split("a MIGRATE b Migrate c", "migrate", Compare::Text),
            (std::vector<std::string>{"a ", " b ", " c"}));
  EXPECT_EQ(Split("a MIGRATE b", "migrate"), (std::vector<std::string>{"a MIGRATE b"}));
}

TEST(TextCase, Windows1252Pairs) {
  EXPECT_EQ(UCase("abc xyz 09"), "ABC XYZ 09");
  EXPECT_EQ(LCase("ABC XYZ 09"), "abc xyz 09");
  EXPECT_EQ(UCase("\x9A\x9C\x9E\xFF"), "\x8A\x8C\x8E\x9F");
  EXPECT_EQ(LCase("\x8A\x8C\x8E\x9F"), "\x9A\x9C\x9E\xFF");
  EXPECT_EQ(UCase("\xE0\xE9\xF6\xFE"), "\xC0\xC9\xD6\xDE");
  EXPECT_EQ(LCase("\xC0\xC9\xD6\xDE"), "\xE0\xE9\xF6\xFE");
  // No case partner: × ÷ ß µ, and the other symbols of the upper half.
  EXPECT_EQ(UCase("\xD7\xF7\xDF\xB5\x80\xA9"), "\xD7\xF7\xDF\xB5\x80\xA9");
  EXPECT_EQ(LCase("\xD7\xF7\xDF\xB5\x80\xA9"), "\xD7\xF7\xDF\xB5\x80\xA9");
  for (int c = 0; c < 256; ++c) {
    std::string byte(1, static_cast<char>(c));
    std::string upper = UCase(byte);
    if (upper != byte) {
      EXPECT_EQ(LCase(upper), byte) << "byte " << c;
    }
  }
}

TEST(TextNumbers, IsNumericAccepts) {
  for (const char* text : {"0", "12", " 12 ", "-3", "+3", "1.5", ".5", "1.", "1,000", "1,000.5", "1,,2", "-1,234,567",
                           "1e5", "1E+5", "2.5e-3", "1d2", "1D-2", "&H1F", "&h1f", "&O17", "&o17", " &HFF "}) {
    EXPECT_TRUE(IsNumeric(text)) << '"' << text << '"';
  }
}

TEST(TextNumbers, IsNumericRejects) {
  for (const char* text : {"", " ", ".", "-", "+", "1e", "1e+", "abc", "1 2", "12a", ",5", "1,", "1.2.3", "1.5,0",
                           "&H", "&HG", "&O8", "&X1", "--1", "\t1", "1e400", "- 1", "e5"}) {
    EXPECT_FALSE(IsNumeric(text)) << '"' << text << '"';
  }
}

TEST(TextNumbers, CDbl) {
  EXPECT_DOUBLE_EQ(CDbl("1,234.5"), 1234.5);
  EXPECT_DOUBLE_EQ(CDbl(" -2.5 "), -2.5);
  EXPECT_DOUBLE_EQ(CDbl("1.5D2"), 150.0);
  EXPECT_DOUBLE_EQ(CDbl("&H1F"), 31.0);
  EXPECT_DOUBLE_EQ(CDbl("&O17"), 15.0);
  EXPECT_DOUBLE_EQ(CDbl("&HFFFF"), -1.0);  // 16-bit pattern
  EXPECT_DOUBLE_EQ(CDbl("&H10000"), 65536.0);
  EXPECT_DOUBLE_EQ(CDbl("&HFFFFFFFF"), -1.0);  // 32-bit pattern
  EXPECT_DOUBLE_EQ(CDbl("1e-400"), 0.0);
  EXPECT_EQ(RaisedNumber([] { CDbl("abc"); }), kErrTypeMismatch);
  EXPECT_EQ(RaisedNumber([] { CDbl(""); }), kErrTypeMismatch);
  EXPECT_EQ(RaisedNumber([] { CDbl("1e400"); }), kErrOverflow);
  EXPECT_EQ(RaisedNumber([] { CDbl("&H100000000"); }), kErrOverflow);
}

TEST(TextNumbers, Val) {
  EXPECT_DOUBLE_EQ(Val("12abc"), 12.0);
  EXPECT_DOUBLE_EQ(Val("abc"), 0.0);
  EXPECT_DOUBLE_EQ(Val(""), 0.0);
  EXPECT_DOUBLE_EQ(Val("  -7.25 kg"), -7.25);
  EXPECT_DOUBLE_EQ(Val("1.5e2x"), 150.0);
  EXPECT_DOUBLE_EQ(Val("1e"), 1.0);
  EXPECT_DOUBLE_EQ(Val("1,000"), 1.0);
  EXPECT_DOUBLE_EQ(Val("&H10"), 16.0);
  EXPECT_DOUBLE_EQ(Val("&O17x"), 15.0);
  EXPECT_DOUBLE_EQ(Val(" 1 2 3"), 123.0);
  EXPECT_DOUBLE_EQ(Val(".5."), 0.5);
}

TEST(TextNumbers, CStrOfDouble) {
  EXPECT_EQ(CStr(0.0), "0");
  EXPECT_EQ(CStr(-0.0), "0");
  EXPECT_EQ(CStr(2.0), "2");
  EXPECT_EQ(CStr(0.5), "0.5");
  EXPECT_EQ(CStr(-3.25), "-3.25");
  EXPECT_EQ(CStr(150.0), "150");
  EXPECT_EQ(CStr(0.1 + 0.2), "0.3");
  EXPECT_EQ(CStr(1.0 / 3.0), "0.333333333333333");
  EXPECT_EQ(CStr(0.0001), "0.0001");
  EXPECT_EQ(CStr(0.000015), "1.5E-05");
  EXPECT_EQ(CStr(-0.00001), "-1E-05");
  EXPECT_EQ(CStr(1e15), "1E+15");
  EXPECT_EQ(CStr(999999999999999.0), "999999999999999");
  EXPECT_EQ(CStr(9999999999999999.0), "1E+16");  // rounding to 15 digits moves the exponent
  EXPECT_EQ(CStr(123456789012345678.0), "1.23456789012346E+17");
  EXPECT_EQ(CStr(1.23456789012346e20), "1.23456789012346E+20");
  EXPECT_EQ(CStr(1e-100), "1E-100");
  EXPECT_EQ(CStr(1e300), "1E+300");
}

TEST(TextNumbers, IntegerTexts) {
  EXPECT_EQ(CStr(12LL), "12");
  EXPECT_EQ(CStr(-3LL), "-3");
  EXPECT_EQ(Str(12), " 12");
  EXPECT_EQ(Str(0), " 0");
  EXPECT_EQ(Str(-3), "-3");
  EXPECT_EQ(FormatGrouped(0), "0");
  EXPECT_EQ(FormatGrouped(999), "999");
  EXPECT_EQ(FormatGrouped(1234), "1,234");
  EXPECT_EQ(FormatGrouped(123456), "123,456");
  EXPECT_EQ(FormatGrouped(-1234567), "-1,234,567");
  EXPECT_EQ(FormatGrouped(std::numeric_limits<long long>::min()), "-9,223,372,036,854,775,808");
}

TEST(TextNumbers, CIntTextAndCLngText) {
  EXPECT_EQ(CIntText("2.5"), 2);
  EXPECT_EQ(CIntText("3.5"), 4);
  EXPECT_EQ(CIntText("-2.5"), -2);
  EXPECT_EQ(CIntText(" 32767 "), 32767);
  EXPECT_EQ(CIntText("-32768"), -32768);
  EXPECT_EQ(CIntText("1,000"), 1000);
  EXPECT_EQ(CIntText("&HFFFF"), -1);
  EXPECT_EQ(RaisedNumber([] { CIntText("32768"); }), kErrOverflow);
  EXPECT_EQ(RaisedNumber([] { CIntText("abc"); }), kErrTypeMismatch);
  EXPECT_EQ(RaisedNumber([] { CIntText(""); }), kErrTypeMismatch);
  EXPECT_EQ(CLngText("2147483647"), 2147483647);
  EXPECT_EQ(CLngText("1e3"), 1000);
  EXPECT_EQ(RaisedNumber([] { CLngText("2147483648"); }), kErrOverflow);
  EXPECT_EQ(RaisedNumber([] { CLngText("12x"); }), kErrTypeMismatch);
}

}  // namespace
}  // namespace tqlm
