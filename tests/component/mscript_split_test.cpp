// M-script documents and split processing over a fixture repository.

#include <gtest/gtest.h>

#include <filesystem>

#include "core/component.h"
#include "platform/text.h"
#include "support.h"

namespace tqlm::test {
namespace {

namespace stdfs = std::filesystem;

class MScriptAndSplit : public testing::Test {
 protected:
  void SetUp() override {
    repo_ = ws_.Repository({"mscript_split.sql"});
    stdfs::create_directories(ws_.Dir() / "xml");
  }
  std::unique_ptr<GeneratorUnderTest> Run(const std::string& list, VbBoolean split = kFalse) {
    auto run = std::make_unique<GeneratorUnderTest>(repo_, 1, ws_.Path("xml"));
    run->generator.ListOfMappingObjectsSelected(list);
    run->generator.SplitVorps(split);
    EXPECT_EQ(run->generator.GenerateXMLFile(), kTrue);
    return run;
  }
  std::string Written(const std::string& file) { return ReadFile(ws_.Dir() / "xml" / file); }

  Workspace ws_;
  std::string repo_;
};

TEST_F(MScriptAndSplit, TheFirstMemberWritesTheParentsDocumentAndLaterMembersAreSkipped) {
  auto run = Run("abcde010,abcde011,abcde012");
  EXPECT_EQ(Split(run->Log(), "\r\n"),
            (std::vector<std::string>{
                "(1.)\t2026-01-02 03:04:05\tStarted exporting the Conversion Object: abcde010 as XML File.",
                "\t2026-01-02 03:04:05\tCompleted exporting Mapping object: abcde010 as XML SUCCESSFULLY.", "",
                "(2.)\t2026-01-02 03:04:05\tStarted exporting the Conversion Object: abcde011 as XML File.",
                "\t2026-01-02 03:04:05\tSkipped Mapping object: abcde011 as it is a part of an M-script. ", "",
                "(3.)\t2026-01-02 03:04:05\tStarted exporting the Conversion Object: abcde012 as XML File.",
                "\t\tERROR: 991:No Parent M-Script Defined for child M-script abcde012", std::string(132, '-'),
                "\t\tTotal No. Of Mapping Objects for which XML Generation was successful  =  1",
                "\t\tTotal No. Of Mapping Objects that are Part of M-SCRIPT                =  1",
                "\t\tTotal No. Of Mapping Objects that Doesn't Have Mappings               =  0",
                "\t\tTotal No. Of Mapping Objects that had ERRORS while XML GENERATAION    =  1", std::string(133, '-'),
                "\t\t" + std::string(55, ' ') + "TOTAL          =  3", std::string(133, '-'), ""}));
  EXPECT_EQ(ListFiles(ws_.Dir() / "xml"), (std::vector<std::string>{"abmsc/xabmsc1000.XML"}));
  EXPECT_EQ(Written("abmsc/xabmsc1000.XML"), ReadFile(ExpectedPath("mscript_split/xabmsc1000.XML")));
  EXPECT_EQ(run->generator.ListOfXMLGenerated(), "abcde010,abcde011,abcde010,");
}

TEST_F(MScriptAndSplit, AFailedMScriptStillMarksItsMembersHandled) {
  const std::string repo = ws_.Repository({"mscript_split.sql"}, "DELETE FROM qxmap140 WHERE tflno = '011';", "f.db");
  GeneratorUnderTest run(repo, 1, ws_.Path("xml"));
  run.generator.ListOfMappingObjectsSelected("abcde010,abcde011");
  ASSERT_EQ(run.generator.GenerateXMLFile(), kTrue);
  EXPECT_EQ(run.generator.XMLErrors(), 1);
  EXPECT_EQ(run.generator.ListOfXMLGenerated(), "abcde010,abcde011,");
  EXPECT_NE(run.Log().find("\t\tERROR:- 522 - Field level Mappings are not maintained for the table:abcde011\r\n"),
            std::string::npos);
  EXPECT_NE(run.Log().find("Skipped Mapping object: abcde011"), std::string::npos);
  EXPECT_TRUE(ListFiles(ws_.Dir() / "xml").empty());
}

TEST_F(MScriptAndSplit, AParentWithoutMembersGivesAnEmptyList) {
  // The parent's table number is cut to three characters, so the members,
  // listed under the longer number, are not found.
  const std::string repo = ws_.Repository({"mscript_split.sql"}, "UPDATE qxmap170 SET bflno = '1001';", "e.db");
  GeneratorUnderTest run(repo, 1, ws_.Path("xml"));
  run.generator.ListOfMappingObjectsSelected("abcde010");
  ASSERT_EQ(run.generator.GenerateXMLFile(), kTrue);
  EXPECT_EQ(ReadFile(ws_.Dir() / "xml" / "abmsc" / "xabmsc1000.XML"),
            "<ABMSC100 TYPE =\"M\" TARGETTABLES = \"\">\r\n <INFO>\r\n<INCLUDE></INCLUDE> <VAR></VAR>"
            "<SRCFIELD>xyabc001.nr , </SRCFIELD><SRCINDEX></SRCINDEX><SOURCETABLES>xyabc001</SOURCETABLES> </INFO>\r\n"
            "<PRE-CONDITIONS>\r\nmigrate xyabc001\r\n</PRE-CONDITIONS>\r\n"
            "<xyabc001>\r\n\r\nselect * from xyabc001\r\nEndSelect\r\n\r\n</xyabc001>\r\n</ABMSC100>");
  EXPECT_EQ(run.generator.ListOfXMLGenerated(), ",abcde010,");
}

TEST_F(MScriptAndSplit, SplitDocumentCarriesRangeCodeDeclarationsAndMergedConditions) {
  auto unsplit = Run("abspl200");  // without splitting the pre-condition is unchanged
  EXPECT_NE(
      Written("abspl/xabspl2000.XML").find("<PRE-CONDITIONS>\r\nmigrate xyabc001 where x\r\nMIGRATE xyabc002\r\n"),
      std::string::npos);
  auto run = Run("abspl200", kTrue);
  EXPECT_EQ(run->generator.XMLSuccess(), 1) << run->Log();
  EXPECT_EQ(Written("abspl/xabspl2000.XML"), ReadFile(ExpectedPath("mscript_split/xabspl2000.XML")));
}

TEST_F(MScriptAndSplit, MissingSplitInformationAndATwiceMigratedTableFail) {
  auto run = Run("abspl201,abspl202", kTrue);
  EXPECT_EQ(run->generator.XMLErrors(), 2);
  EXPECT_NE(run->Log().find("\t\tERROR:in AddSplitQueries_to_Precondition  ErrNo. 1009: Split Information not given "
                            "for the Target Table abspl201 - Source table xyabc009\r\n"),
            std::string::npos);
  EXPECT_NE(run->Log().find("\t\tERROR:in AddSplitQueries_to_Precondition  ErrNo. 457:This key is already "
                            "associated with an element of this collection\r\n"),
            std::string::npos);
}

class SplitMethods : public MScriptAndSplit {
 protected:
  void SetUp() override {
    MScriptAndSplit::SetUp();
    g_.ConnectionString(repo_);
    g_.LogFileName(log_);
  }
  ClsXMLGenerator g_;
  std::shared_ptr<StringTextStream> log_ = std::make_shared<StringTextStream>();
};

TEST_F(SplitMethods, MigrateInAnyCaseSplitsAndIsWrittenInLowerCase) {
  std::string out;
  ASSERT_EQ(g_.AddSplitQueries_to_Precondition("SRC", "x = 1", "abspl200", out), kTrue);
  EXPECT_EQ(out, "x = 1");  // nothing to split
  EXPECT_EQ(detail::StateOf(g_).document.splitDeclarations,
            "long var.qxgct872.cnt\r\nlong var.to.lng.vrpn\r\n\ttable tqxgct872");
  ASSERT_EQ(g_.AddSplitQueries_to_Precondition("SRC", "migrate xyabc001", "abzzz999", out), kTrue);
  EXPECT_EQ(out, "migrate xyabc001");  // no split information for the table
  ASSERT_EQ(g_.AddSplitQueries_to_Precondition("SRC", "a\r\nMIGRATE\txyabc001 x", "abspl201", out), kTrue);
  EXPECT_EQ(out.substr(0, 5), "a\r\n\r\n");
  EXPECT_EQ(out.substr(out.size() - 21), "\r\nmigrate \txyabc001 x");  // its condition: in xabspl2000.XML
}

TEST_F(SplitMethods, SeveralFieldsWithoutAnIndexCompareTheStoredListAsItStands) {
  g_.ConnectionString(ws_.Repository({"mscript_split.sql"},
                                     "INSERT INTO qxmap300 VALUES ('abspl400', 'xyabc002', 'k1, k2');", "list.db"));
  std::string out;
  ASSERT_EQ(g_.AddSplitQueries_to_Precondition("SRC", "migrate xyabc002", "abspl400", out), kTrue);
  EXPECT_EQ(*detail::StateOf(g_).document.splitConditions.Find("XYABC002"),
            "(xyabc002.k1, k2 > {:from.xyabc002.k1 , :from.xyabc002. k2}\r\n and xyabc002.k1, k2 <= "
            "{:to.xyabc002.k1 , :to.xyabc002. k2})");
}

TEST_F(SplitMethods, SplitFieldsExpandIndexesAndCombinedFields) {
  const std::string repo = ws_.Repository(
      {"mscript_split.sql"},
      "INSERT INTO qxmap300 VALUES ('abspl300', 'xyabc002', 'INDEX1,grp, k9');"
      "INSERT INTO qxddi150 (appl, cpac, cmod, flno, fdnm, comb) VALUES ('SRC', 'xy', 'abc', '002', 'grp', 'Y');"
      "INSERT INTO qxddi160 (appl, cpac, cmod, flno, fdnm, chld, sern) VALUES "
      "('SRC', 'xy', 'abc', '002', 'grp', 'g2 ', 2), ('SRC', 'xy', 'abc', '002', 'grp', 'g1', 1),"
      "('SRC', 'xy', 'abc', '002', 'grp', '  ', 3);"
      "UPDATE qxddi200 SET pt02 = '  ', pt03 = 'k3' WHERE flno = '002';",
      "fields.db");
  g_.ConnectionString(repo);
  std::string stored = "unchanged";
  EXPECT_EQ(g_.get_split_fields("SRC", "abspl300", "xyabc002", stored), "k1,k3,g1,g2 , k9");
  EXPECT_EQ(stored, "INDEX1,grp, k9");
  stored = "unchanged";
  EXPECT_EQ(g_.get_split_fields("SRC", "abspl300", "xyabc001", stored), "");
  EXPECT_EQ(stored, "unchanged");
}

}  // namespace
}  // namespace tqlm::test
