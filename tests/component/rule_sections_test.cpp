// The rule-carrying sections one by one: variables, pre-conditions, source
// tags with split conditions, functions and dumps, and how each one fails;
// then whole documents carrying them.

#include <gtest/gtest.h>

#include <filesystem>

#include "core/component.h"
#include "document/dump_tag.h"
#include "document/field_tags.h"
#include "document/function_tag.h"
#include "document/precondition_tag.h"
#include "document/source_table_tags.h"
#include "document/variable_tag.h"
#include "rules/field_rules.h"
#include "split/split_processing.h"
#include "support.h"
#include "support/test_support.h"

namespace tqlm::test {
namespace {

// An object of profile 1 (0100-01-STD) from application SRC into TRG.
MappingObject Object(const std::string& pac, const std::string& mod, const std::string& flno) {
  return MappingObject{1, "0100", "01", "STD ", pac, mod, "SRC", "TRG", flno, {}, {}, false, {}};
}

class RuleSections : public testing::Test {
 protected:
  void Use(const std::string& extraSql) {
    c_.services.repository.SetConnectionString(
        ws_.Repository({"rules_profiles.sql"}, extraSql, "r" + std::to_string(++n_) + ".db"));
  }
  void SetUp() override {
    Use("");
    c_.services.log = log_;
  }
  Workspace ws_;
  int n_ = 0;
  Component c_{kGeneratorTraits};
  std::shared_ptr<StringTextStream> log_ = std::make_shared<StringTextStream>();
};

TEST_F(RuleSections, VariablesWithoutARowTheSizeCheckAndSplitDeclarations) {
  std::string text;
  MappingObject object1 = Object("ab", "zzz", "999");
  ASSERT_TRUE(Construct_Variable_Tag(c_, c_.document, object1, text, "abzzz999"));
  EXPECT_EQ(text, "<INCLUDE></INCLUDE> <VAR></VAR>");
  c_.settings.include2GBCheck = kTrue;
  text.clear();
  MappingObject object2 = Object("ab", "ord", "021");
  ASSERT_TRUE(Construct_Variable_Tag(c_, c_.document, object2, text, "abord021,abzzz999"));
  EXPECT_EQ(
      text,
      "<INCLUDE>\r\n#define abord021RowSize 29\r\n\tlong abord021.dump.rec\r\n\tlong abord021rep.count"
      "\r\n#define abzzz999RowSize 1\r\n\tlong abzzz999.dump.rec\r\n\tlong abzzz999rep.count</INCLUDE> <VAR></VAR>");

  // Split declarations join the variables; markers become breaks and tabs.
  Use("UPDATE qxmap120 SET vari = 'long a~|~# b & c~^~' WHERE tflno = '021';");
  c_.settings.include2GBCheck = kFalse;
  c_.document.splitDeclarations = "long var.qxgct872.cnt\r\nlong var.to.lng.vrpn";
  text.clear();
  MappingObject object3 = Object("ab", "ord", "021");
  ASSERT_TRUE(Construct_Variable_Tag(c_, c_.document, object3, text, "abord021"));
  EXPECT_EQ(
      text,
      "<INCLUDE>long a\t# b &amp; c\r\n</INCLUDE> <VAR>long var.qxgct872.cnt\r\r\nlong var.to.lng.vrpn\r\n</VAR>");
  EXPECT_EQ(c_.document.declarations, "long var.qxgct872.cnt\r\r\nlong var.to.lng.vrpn\r\n");
}

// (An empty pre-condition, which counts none, is in abord021's document.)
TEST_F(RuleSections, PreConditionCountsMigrateWordsInAnyCase) {
  MappingObject o = Object("ab", "cus", "010");
  o.prtx = "Migrate a\tre-migrated b\r\nmigrate\nc";
  std::string text;
  ASSERT_TRUE(Construct_PreCondition_Tag(c_, c_.document, o, text));
  EXPECT_EQ(c_.document.migrateCount, 2);
}

TEST_F(RuleSections, SplitConditionMergesIntoEachShapeOfMainQuery) {
  // (A query without a clause is below; one with "where" is in the split document.)
  const std::string k = "(s.k > :from.s.k)";
  EXPECT_EQ(MergeSplitCondition("select * from s Order by k", k), "select * from s\r\nwhere " + k + " Order by k");
  EXPECT_EQ(MergeSplitCondition("select * from s WHERE a = 1 group by k", k),
            "select * from s WHERE (a = 1) and " + k + " group by k");
  EXPECT_EQ(MergeSplitCondition("select k from s having k > 1", k), "select k from s\r\nwhere " + k + " having k > 1");
  // A clause right after " where " leaves a negative length: error 5.
  EXPECT_EQ(test_support::RaisedNumber([&] { MergeSplitCondition("select a from t where group by a", k); }),
            kErrInvalidCall);
}

TEST_F(RuleSections, SourceTablesCarryMergedSplitConditionsAndOnlyTheTablesRead) {
  c_.document.migrateCount = 1;
  c_.document.splitConditions.Add("XYABC001", "(xyabc001.nr > :from.xyabc001.nr)");
  std::string text;
  ASSERT_TRUE(Construct_Source_Table_Tags(c_, c_.document, Object("ab", "cus", "010"), text));
  EXPECT_EQ(text,
            "<xyabc001>\r\n\r\nselect nr from xyabc001  \r\nwhere (xyabc001.nr &gt; :from.xyabc001.nr)\r\nEndSelect"
            "\r\ndone\r\n</xyabc001>\r\n<xyabc002>\r\n</xyabc002>\r\n");
  // Only the source tables read are written; a blank closing block adds nothing.
  Use("UPDATE qxmap130 SET qury = '   ' WHERE icod = 'X';");
  c_.document.migrateCount = 4;  // room for five source tables, two used
  c_.document.splitConditions.RemoveAll();
  text.clear();
  ASSERT_TRUE(Construct_Source_Table_Tags(c_, c_.document, Object("ab", "cus", "010"), text));
  EXPECT_EQ(text, "<xyabc001>\r\n\r\nselect nr from xyabc001\r\n</xyabc001>\r\n<xyabc002>\r\n</xyabc002>\r\n");
}

TEST_F(RuleSections, TooManySourceTablesAndMissingOrEmptyMainQueriesFail) {
  c_.document.migrateCount = 0;  // room for one source table
  std::string text;
  EXPECT_FALSE(Construct_Source_Table_Tags(c_, c_.document, Object("ab", "cus", "010"), text));
  EXPECT_FALSE(Construct_Source_Table_Tags(c_, c_.document, Object("ab", "zzz", "999"), text));
  Use("UPDATE qxmap130 SET qury = NULL WHERE tflno = '021';");
  EXPECT_FALSE(Construct_Source_Table_Tags(c_, c_.document, Object("ab", "ord", "021"), text));
  EXPECT_EQ(log_->text(),
            "\t\tERROR: 9:Subscript out of range\r\n"
            "\t\tERROR: 120:No Mainquery for the Table \r\n"
            "\t\tERROR: 121:No Proper Main query defined for the Source  Target abord021 combination.\r\n");
}

TEST_F(RuleSections, AFunctionWithAnUndeclaredVariableFails) {
  Use("UPDATE qxmap160 SET func = 'x = default()' || char(10);");
  std::string text;
  EXPECT_FALSE(Construct_Function_Tag(c_, c_.document, Object("ab", "ord", "020"), text));
  EXPECT_EQ(text, "");
  EXPECT_NE(log_->text().find("ErrNo. 999: Variable x Not declared."), std::string::npos);
}

TEST_F(RuleSections, DumpsFailWithoutRulesAndNumberFromTheFirstRow) {
  // A table without rules fails with the dump line but keeps the description.
  c_.run.errorDescription = "earlier";
  std::string text;
  EXPECT_FALSE(Construct_Dump_Tag(c_, c_.document, Object("ab", "zzz", "999"), false, text));
  EXPECT_EQ(log_->text(), "\t\tERROR:- 522 - Field level Mappings are not maintained for the table:abzzz999\r\n\r\n");
  EXPECT_EQ(c_.run.errorDescription, "earlier");
  // Dump numbers start with the first row's number, even zero.
  Use("UPDATE qxmap140 SET dnum = 0 WHERE tflno = '010';");
  std::string fields;
  ASSERT_TRUE(Construct_Field_Tags(c_, c_.document.fields, "TRG", "ab", "cus", "010", fields));
  text.clear();
  ASSERT_TRUE(Construct_Dump_Tag(c_, c_.document, Object("ab", "cus", "010"), false, text));
  EXPECT_EQ(text, "<DUMP-0 TARGET=\"abcus010\">\r\n<ID TYPE = \"0\"><VALUE>1</VALUE></ID>\r\n</DUMP-0>\r\n");
}

TEST_F(RuleSections, ARuleOfAnotherTypeLosesItsOpenTagAndTheDocumentFailsSilently) {
  Use("UPDATE qxmap140 SET type = 2 WHERE tflno = '010';");
  std::filesystem::create_directories(ws_.Dir() / "xml");
  GeneratorUnderTest run(c_.services.repository.ConnectionString(), 1, ws_.Path("xml"));
  run.generator.ListOfMappingObjectsSelected("abcus010");
  ASSERT_EQ(run.generator.GenerateXMLFile(), kTrue);
  EXPECT_EQ(run.generator.XMLErrors(), 1);
  EXPECT_EQ(run.Log().find("\t\tERROR:"), std::string::npos) << run.Log();
  EXPECT_FALSE(std::filesystem::exists(ws_.Dir() / "xml" / "abcus" / "xabcus0100.XML"));
}

TEST_F(RuleSections, StringRulesThatAreZeroBlankOrNumericStayUnwrapped) {
  // abord020.name: upper case, left aligned, a string of 20.
  const CFieldInfo f{"abord020", "name", {}, "String.Set$(\" \",20)", {}, 0, "U", "L", 20, "S", {}};
  auto value = [&](const std::string& rule) {
    return GeneratorMappedElement(c_, c_.document.declarations, Object("ab", "ord", "020"), f, CDumpInfo{0, {}, {}, rule, 0}, "NAME");
  };
  EXPECT_EQ(value("0"), "<NAME TYPE = \"0\"><VALUE>0</VALUE></NAME>\r\n");
  EXPECT_EQ(value("   "), "<NAME TYPE = \"0\"><VALUE></VALUE></NAME>\r\n");
  // Only "0" itself stays unwrapped (the test is on the untrimmed rule); any
  // other number is wrapped, though not looked up in the data dictionary.
  EXPECT_EQ(value(" 0"),
            "<NAME TYPE = \"0\"><VALUE>(Left.Align(toupper$( 0),20))=&amp;quot;&amp;quot; ? empty.string(1;20):"
            "Left.Align(toupper$( 0),20)</VALUE></NAME>\r\n");
  EXPECT_EQ(value("empty()"), "<NAME TYPE = \"0\"><VALUE>String.Set$(\" \",20)</VALUE></NAME>\r\n");
}

// Complete generator documents against hand-derived files: INFO with
// variables, pre-conditions, source tags, functions and dumps.
TEST(RulesDocuments, CompleteDocumentsMatchTheirDerivedFiles) {
  Workspace ws;
  std::filesystem::create_directories(ws.Dir() / "xml");
  GeneratorUnderTest run(ws.Repository({"rules_profiles.sql"}), 1, ws.Path("xml"));
  run.generator.ListOfMappingObjectsSelected("abord020,abord021,abcus010");
  ASSERT_EQ(run.generator.GenerateXMLFile(), kTrue);
  EXPECT_EQ(run.generator.XMLSuccess(), 3) << run.Log();
  for (const char* file : {"abord/xabord0200.XML", "abord/xabord0210.XML", "abcus/xabcus0100.XML"}) {
    const std::string name = std::filesystem::path(file).filename().string();
    EXPECT_EQ(ReadFile(ws.Dir() / "xml" / file), ReadFile(ExpectedPath("rules/" + name))) << file;
  }
}

}  // namespace
}  // namespace tqlm::test
