// Rewriting rule text: keywords (target constants, empty() and default()
// assignments) and free-text formatting.

#include "rules/keywords.h"

#include <gtest/gtest.h>

#include <utility>

#include "core/component.h"
#include "rules/format_string.h"
#include "support.h"

namespace tqlm::test {
namespace {

class Keywords : public testing::Test {
 protected:
  void SetUp() override {
    c_.services.repository.SetConnectionString(ws_.Repository({"rules_profiles.sql"}));
    c_.services.log = log_;
  }
  std::string Rewrite(std::string_view text, bool expectTrue = true) {
    std::string out = "stale";
    EXPECT_EQ(Replace_Empty_Default_Target(c_, c_.document.declarations, "SRC", "TRG", text, out), expectTrue) << text;
    return out;
  }
  Workspace ws_;
  Component c_{kGeneratorTraits};
  std::shared_ptr<StringTextStream> log_ = std::make_shared<StringTextStream>();
};

TEST_F(Keywords, RewritesTargetConstantsAndEmptyOrDefaultAssignments) {
  const char* const declarations =
      "long cnt\r\nstatic string buf(30)\r\ndouble amt\r\ndomain abname\r\nstring one\r\n"
      "extern domain xyname\r\ndomain xynum\r\n";  // a declared domain is asked of the source application
  const std::pair<const char*, const char*> cases[] = {
      // Only the first search for "target" ignores letter case.
      {"Target (abflag.on) or Target (abflag.off)", "1 or Target (abflag.off)"},
      {"target(abflag.on) or target(abflag.off)", "1 or 0"},
      // Nothing but blanks may stand before the parenthesis, and ")" must follow.
      {"target x(abflag.on)", "target x(abflag.on)"},
      {"target\t (abflag.on)", "1"},
      {"target(abflag.on", "target(abflag.on"},
      {"targets", "targets"},
      {"x = target( abflag.none )", "x = ( abflag.none )| ENUM Constant abflag.none NOT FOUND in the DATA DICTIONARY"},
      // The declared type's empty value.
      {"cnt = empty()\r\nx", " \r\n cnt = 0 \r\n \nx"},
      {"a\r\nbuf = empty() | keep\r\nb", "a\r \r\n buf = String.Set$(\" \",30) \r\n | keep\r\nb"},
      {"amt=default()\n", " \r\n amt = 0.0 \r\n \n"},
      {"one = empty()\n", " \r\n one = String.Set$(\" \",1) \r\n \n"},
      {"xyname = empty()\n", " \r\n xyname = String.Set$(\" \",20) \r\n \n"},
      {"xynum = empty()\n", " \r\n xynum = 0 \r\n \n"},
      // A keyword on the last line without a line feed is not seen.
      {"cnt = empty()", "cnt = empty()"},
      {"cnt = empty() ", " \r\n cnt = 0 \r\n  "},
      // Inside a longer word it changes nothing.
      {"x = defaults\r\n", "x = defaults\r\n"},
      {"emptyness = 1\r\n", "emptyness = 1\r\n"}};
  c_.document.declarations = declarations;
  for (const auto& [text, rewritten] : cases) EXPECT_EQ(Rewrite(text), rewritten);
  EXPECT_EQ(Get_Enum_Constant(c_, "TRG", "(abflag.on"), "0");
  EXPECT_EQ(log_->text(), "");
}

TEST_F(Keywords, AnUndeclaredVariableFailsWith999) {
  c_.document.declarations = "long cnt\r\n";
  EXPECT_EQ(Rewrite("buf = empty()\r\n", false), "");
  const std::string line =
      "\t\tERROR:in Replace_Empty_Default()  ErrNo. 999: Variable buf Not declared. Please declare the variable in "
      "Variable/include section of IQLM. ";
  EXPECT_EQ(log_->text(), line + "\r\n");
  EXPECT_EQ(c_.run.errorDescription, line);

  c_.document.declarations.clear();
  EXPECT_EQ(Rewrite("cnt = empty()\r\n", false), "");
}

TEST_F(Keywords, AFailedDomainLookupLeavesTheStatement) {
  c_.document.declarations = "domain abnothing\r\n";
  EXPECT_EQ(Rewrite("abnothing = empty()\r\n"), "abnothing = empty()\r\n");
  EXPECT_EQ(log_->text(), "\t\tERROR: 114: No Domain information for the domain abnothing in the Application SRC\r\n");
}

TEST_F(Keywords, AConstantThatNamesItselfEndsAsOutOfMemoryInsteadOfLoopingForEver) {
  c_.services.repository.SetConnectionString(ws_.Repository(
      {"rules_profiles.sql"}, "UPDATE qxddi230 SET cnst = 'x target(abflag.on)' WHERE ctnm = 'on';", "self.db"));
  EXPECT_EQ(Rewrite("target(abflag.on)", false), "");
  EXPECT_EQ(log_->text(), "\t\tERROR:in Replace_Empty_Default_Target()  ErrNo. 7:Out of memory\r\n");
}

// The bound on rewrites grows with the keywords the text holds: a text of
// more constants than its floor (10,000) is rewritten whole.
TEST_F(Keywords, ManyConstantsInOneTextAreAllRewritten) {
  std::string text, expected;
  for (int i = 0; i < 10001; ++i) {
    text += "x = target(abflag.on)\r\n";
    expected += "x = 1\r\n";
  }
  EXPECT_EQ(Rewrite(text), expected);
}

// Free-text formatting: delimiters framed by blanks, literals kept, line
// breaks normalised, escaping, in both classes' variants.
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
}  // namespace tqlm::test
