// Free-text formatting: delimiters framed by blanks, literals kept, line
// breaks normalised, escaping, in both classes' variants.

#include "rules/format_string.h"

#include <gtest/gtest.h>

#include <utility>

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

TEST(FormatString, GeneratorFramesDelimitersKeepsLiteralsAndWritesOneBreakPerLine) {
  const std::pair<const char*, const char*> cases[] = {
      {"a<=b", "a &lt;= b  "},
      {"x = \"a=b\"", "x  =  \"a=b\"  "},  // a literal is copied; the blank next to "=" is doubled
      {"a=1\r\nb=2", "a = 1  \r\n b = 2  "},
      {"a=1\r\n\r\n\r\nb=2\r\n", "a = 1  \r\n b = 2  "},  // no empty lines
      {"a=1\r\nb=\"x", "a = 1  \r\n b =\"x   "},          // an unclosed quote on a later line ends there
      {"a&b,c", "a &amp; b,c  "}};                        // "&" but not "," is a delimiter here
  for (const auto& [text, formatted] : cases) {
    Formatter format(kGeneratorTraits);
    EXPECT_EQ(format(text), formatted);
    EXPECT_TRUE(format.ok) << text;
    EXPECT_EQ(format.log->text(), "") << text;
  }
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
  EXPECT_EQ(format("a&b,c"), " a&amp;b , c  ");  // "," but not "&" is a delimiter here
}

}  // namespace
}  // namespace tqlm
