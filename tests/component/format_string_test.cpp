// Free-text formatting: delimiters framed by blanks, literals kept, line
// breaks normalised, escaping, in both classes' variants.

#include "rules/format_string.h"

#include <gtest/gtest.h>

#include "core/component.h"

namespace tqlm {
namespace {

struct Formatter {
  explicit Formatter(const ClassTraits& traits) : c(traits) { c.services.log = log; }
  std::string operator()(std::string_view text) {
    std::string out;
    ok = Format_String(c, text, out);
    return out;
  }
  Component c;
  std::shared_ptr<StringTextStream> log = std::make_shared<StringTextStream>();
  bool ok = false;
};

TEST(FormatString, GeneratorFramesDelimiterRunsAndEscapes) {
  Formatter format(kGeneratorTraits);
  EXPECT_EQ(format("a<=b"), "a &lt;= b  ");
  EXPECT_TRUE(format.ok);
  // A literal is copied unchanged; the blank next to "=" is doubled.
  EXPECT_EQ(format("x = \"a=b\""), "x  =  \"a=b\"  ");
}

TEST(FormatString, GeneratorWritesOneFramedBreakPerLineAndNoEmptyLines) {
  Formatter format(kGeneratorTraits);
  EXPECT_EQ(format("a=1\r\nb=2"), "a = 1  \r\n b = 2  ");
  EXPECT_EQ(format("a=1\r\n\r\n\r\nb=2\r\n"), "a = 1  \r\n b = 2  ");
}

TEST(FormatString, GeneratorUnclosedQuoteOnALaterLineEndsAtTheLineBreak) {
  Formatter format(kGeneratorTraits);
  EXPECT_EQ(format("a=1\r\nb=\"x"), "a = 1  \r\n b =\"x   ");
  EXPECT_TRUE(format.ok);
  EXPECT_EQ(format.log->text(), "");
}

TEST(FormatString, GeneratorUnclosedQuoteOnTheFirstLineFails) {
  Formatter format(kGeneratorTraits);
  format("a=\"x");
  EXPECT_FALSE(format.ok);
  EXPECT_EQ(format.log->text(), "\t\tERROR: 124:Closing double quotes missing.\r\n");
  EXPECT_EQ(format.c.run.errorDescription, "\t\tERROR: 124:Closing double quotes missing.");
}

TEST(FormatString, LegacyDecodesEscapesFirstAndEscapesOnce) {
  Formatter format(kLegacyTraits);
  EXPECT_EQ(format("a &lt; b"), " a  &lt;  b  ");
  EXPECT_EQ(format("s = \"x\""), " s  =  &quot;x&quot;  ");
}

TEST(FormatString, DelimiterSetsDifferByClass) {
  Component generator(kGeneratorTraits), legacy(kLegacyTraits);
  for (char ch : std::string("=!#><*+):(-/?\\")) {
    EXPECT_TRUE(Is_Delimiter(generator, ch)) << ch;
    EXPECT_TRUE(Is_Delimiter(legacy, ch)) << ch;
  }
  EXPECT_TRUE(Is_Delimiter(generator, '&'));
  EXPECT_FALSE(Is_Delimiter(legacy, '&'));
  EXPECT_FALSE(Is_Delimiter(generator, ','));
  EXPECT_TRUE(Is_Delimiter(legacy, ','));
  for (char ch : std::string(" \t.a|\"'"))
    EXPECT_FALSE(Is_Delimiter(generator, ch) || Is_Delimiter(legacy, ch)) << ch;
}

}  // namespace
}  // namespace tqlm
