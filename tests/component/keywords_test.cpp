// Keyword rewriting: target constants, empty() and default() assignments.

#include "rules/keywords.h"

#include <gtest/gtest.h>

#include "core/component.h"
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
    EXPECT_EQ(Replace_Empty_Default_Target(c_, "SRC", "TRG", text, out), expectTrue) << text;
    return out;
  }
  Workspace ws_;
  Component c_{kGeneratorTraits};
  std::shared_ptr<StringTextStream> log_ = std::make_shared<StringTextStream>();
};

TEST_F(Keywords, OnlyTheFirstTargetSearchIgnoresLetterCase) {
  EXPECT_EQ(Rewrite("Target (abflag.on) or Target (abflag.off)"), "1 or Target (abflag.off)");
  EXPECT_EQ(Rewrite("target(abflag.on) or target(abflag.off)"), "1 or 0");
}

TEST_F(Keywords, TargetNeedsNothingButBlanksBeforeItsParenthesis) {
  EXPECT_EQ(Rewrite("target x(abflag.on)"), "target x(abflag.on)");
  EXPECT_EQ(Rewrite("target\t (abflag.on)"), "1");
  EXPECT_EQ(Rewrite("target(abflag.on"), "target(abflag.on");  // no ")"
  EXPECT_EQ(Rewrite("targets"), "targets");
}

TEST_F(Keywords, AMissingConstantIsLeftWithAComment) {
  EXPECT_EQ(Rewrite("x = target( abflag.none )"),
            "x = ( abflag.none )| ENUM Constant abflag.none NOT FOUND in the DATA DICTIONARY");
  EXPECT_EQ(Get_Enum_Constant(c_, "TRG", "(abflag.on"), "0");
}

TEST_F(Keywords, EmptyAssignmentTakesTheDeclaredTypesEmptyValue) {
  c_.document.declarations = "long cnt\r\nstatic string buf(30)\r\ndouble amt\r\ndomain abname\r\nstring one\r\n";
  EXPECT_EQ(Rewrite("cnt = empty()\r\nx"), " \r\n cnt = 0 \r\n \nx");
  EXPECT_EQ(Rewrite("a\r\nbuf = empty() | keep\r\nb"), "a\r \r\n buf = String.Set$(\" \",30) \r\n | keep\r\nb");
  EXPECT_EQ(Rewrite("amt=default()\n"), " \r\n amt = 0.0 \r\n \n");
  EXPECT_EQ(Rewrite("one = empty()\n"), " \r\n one = String.Set$(\" \",1) \r\n \n");
  EXPECT_EQ(log_->text(), "");
}

TEST_F(Keywords, ADomainDeclarationAsksTheSourceApplicationsDomain) {
  // The declared item is the domain itself.
  c_.document.declarations = "extern domain xyname\r\ndomain xynum\r\n";
  EXPECT_EQ(Rewrite("xyname = empty()\n"), " \r\n xyname = String.Set$(\" \",20) \r\n \n");
  EXPECT_EQ(Rewrite("xynum = empty()\n"), " \r\n xynum = 0 \r\n \n");
}

TEST_F(Keywords, AKeywordOnTheLastLineWithoutALineFeedIsNotSeen) {
  c_.document.declarations = "long cnt\r\n";
  EXPECT_EQ(Rewrite("cnt = empty()"), "cnt = empty()");
  EXPECT_EQ(Rewrite("cnt = empty() "), " \r\n cnt = 0 \r\n  ");
}

TEST_F(Keywords, DefaultInsideALongerWordChangesNothing) {
  c_.document.declarations = "long cnt\r\n";
  EXPECT_EQ(Rewrite("x = defaults\r\n"), "x = defaults\r\n");
  EXPECT_EQ(Rewrite("emptyness = 1\r\n"), "emptyness = 1\r\n");
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

TEST_F(Keywords, ManyConstantsInOneTextAreAllRewrittenQuickly) {
  std::string text, expected;
  for (int i = 0; i < 2000; ++i) {
    text += "x = target(abflag.on)\r\n";
    expected += "x = 1\r\n";
  }
  EXPECT_EQ(Rewrite(text), expected);
}

}  // namespace
}  // namespace tqlm::test
