// The generation run over fixture repositories: selection, search through
// checked-out versions and parent profiles, status rules, log and counters.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "core/component.h"
#include "support.h"

namespace tqlm::test {
namespace {

const std::string kCrLf = "\r\n";

class GenerationRun : public testing::Test {
 protected:
  std::string Repo() {
    if (repo_.empty()) repo_ = ws_.Repository({"run_profiles.sql"});
    return repo_;
  }
  std::string XmlDir() {
    std::filesystem::create_directories(ws_.Dir() / "xml");
    return ws_.Path("xml");
  }
  // Profile `profile` over the range ab cde 000 to ab cde 999.
  std::unique_ptr<GeneratorUnderTest> Run(VbInteger profile) {
    auto run = std::make_unique<GeneratorUnderTest>(Repo(), profile, XmlDir());
    SetRange(run->generator);
    return run;
  }
  static void SetRange(ClsXMLGenerator& g) {
    g.PackageFrom("ab");
    g.ModuleFrom("cde");
    g.TableFrom("0");
    g.PackageTo("ab");
    g.ModuleTo("cde");
    g.TableTo("999");
  }

  Workspace ws_;
  std::string repo_;
};

TEST_F(GenerationRun, DefaultStatusesExportVerifiedGeneratedAndErrorObjects) {
  auto run = Run(1);
  ASSERT_EQ(run->generator.GenerateXMLFile(), kTrue) << run->Log();

  EXPECT_EQ(run->Log(), ReadFile(ExpectedPath("run/profile1_default_range.log")));
  EXPECT_EQ(run->generator.XMLSuccess(), 3);
  EXPECT_EQ(run->generator.XMLWarnings(), 4);
  EXPECT_EQ(run->generator.XMLErrors(), 0);
  EXPECT_EQ(run->generator.NoOfXMLGenerated(), 3);
  EXPECT_EQ(run->generator.ListOfXMLGenerated(), "abcde010,abcde011,abcde012,");
  EXPECT_EQ(run->generator.ErrorDescription(), "");

  EXPECT_EQ(ListFiles(ws_.Dir() / "xml"),
            (std::vector<std::string>{"abcde/xabcde0100.XML", "abcde/xabcde0110.XML", "abcde/xabcde0120.XML"}));
  for (const char* code : {"abcde010", "abcde011", "abcde012"}) {
    std::string name = std::string("x") + code + "0.XML";
    EXPECT_EQ(ReadFile(ws_.Dir() / "xml" / "abcde" / name), ReadFile(ExpectedPath("run/" + name)));
  }
}

TEST_F(GenerationRun, OptionFiveGeneratesErrorsAndReportsEveryStatus) {
  auto run = Run(1);
  run->generator.XMLGenerationOption(EnumGenerateXML::All);
  ASSERT_EQ(run->generator.GenerateXMLFile(), kTrue);
  EXPECT_EQ(run->Log(), ReadFile(ExpectedPath("run/profile1_option5_range.log")));
  EXPECT_EQ(run->generator.XMLSuccess(), 3);
  EXPECT_EQ(run->generator.XMLWarnings(), 3);
  EXPECT_EQ(run->generator.XMLErrors(), 1);
  EXPECT_EQ(run->generator.NoOfXMLGenerated(), 6);  // every object with a row, whatever its status
}

TEST_F(GenerationRun, OptionFourSkipsErrorStatusAsAnError) {
  auto run = Run(1);
  run->generator.XMLGenerationOption(EnumGenerateXML::GENERATED_VERIFIED_MAINTAINED);
  ASSERT_EQ(run->generator.GenerateXMLFile(), kTrue);
  EXPECT_EQ(run->Log(), ReadFile(ExpectedPath("run/profile1_option4_range.log")));
  EXPECT_EQ(run->generator.XMLSuccess(), 2);
  EXPECT_EQ(run->generator.XMLErrors(), 2);
  EXPECT_FALSE(std::filesystem::exists(ws_.Dir() / "xml" / "abcde" / "xabcde0120.XML"));
}

TEST_F(GenerationRun, MissingProfileEndsTheRunWithOnlyTheErrorLine) {
  auto run = Run(12);
  EXPECT_EQ(run->generator.GenerateXMLFile(), kFalse);
  EXPECT_EQ(run->generator.ErrorDescription(), " 111-Migration Profile No. 12 not available.");
  EXPECT_EQ(run->Log(), " 111-Migration Profile No. 12 not available." + kCrLf);
}

TEST_F(GenerationRun, CountersOfAFailedRunKeepThePreviousValues) {
  auto run = Run(1);
  ASSERT_EQ(run->generator.GenerateXMLFile(), kTrue);
  run->generator.MigrationProfile(12);
  EXPECT_EQ(run->generator.GenerateXMLFile(), kFalse);
  EXPECT_EQ(run->generator.XMLSuccess(), 3);
  EXPECT_EQ(run->generator.XMLWarnings(), 4);
  EXPECT_EQ(run->generator.NoOfXMLGenerated(), 0);  // restarts with every run
}

TEST_F(GenerationRun, EmptySelectionWithAListNamesTheBlankDefaultRange) {
  GeneratorUnderTest run(Repo(), 1, XmlDir());
  run.generator.ListOfMappingObjectsSelected("zzzzz999");
  EXPECT_EQ(run.generator.GenerateXMLFile(), kFalse);
  const std::string expected =
      " 123-No Mapping Objects exists to generate XML Files for the selected Range           TO "
      "         Please select a valid range.";
  EXPECT_EQ(run.generator.ErrorDescription(), expected);
  EXPECT_EQ(run.Log(), expected + kCrLf);
}

TEST_F(GenerationRun, ListEntriesKeepBlanksAfterCommasInsideTheirQuotes) {
  GeneratorUnderTest run(Repo(), 1, XmlDir());
  run.generator.ListOfMappingObjectsSelected("abcde011, abcde010,abfgh001");
  ASSERT_EQ(run.generator.GenerateXMLFile(), kTrue);
  // " abcde010" selects nothing; the others are exported in the database's order.
  EXPECT_EQ(run.generator.ListOfXMLGenerated(), "abcde011,abfgh001,");
  EXPECT_EQ(run.generator.State().settings.listOfMappingObjectsSelected, "'abcde011',' abcde010','abfgh001'");
}

TEST_F(GenerationRun, TraversalFindsRulesKeptOnlyInTheParentProfile) {
  auto run = Run(2);
  run->generator.ListOfMappingObjectsSelected("abcde010,abcde011,abcde013");
  ASSERT_EQ(run->generator.GenerateXMLFile(), kTrue);
  EXPECT_EQ(run->generator.ListOfXMLGenerated(), "abcde010,abcde011,");
  EXPECT_EQ(run->generator.XMLSuccess(), 2);
  EXPECT_EQ(run->generator.XMLWarnings(), 1);
}

TEST_F(GenerationRun, WithoutTraversalParentRulesAreNotFound) {
  auto run = Run(2);
  run->generator.TraverseGeneration(kFalse);
  run->generator.ListOfMappingObjectsSelected("abcde010,abcde011");
  ASSERT_EQ(run->generator.GenerateXMLFile(), kTrue);
  EXPECT_EQ(run->generator.ListOfXMLGenerated(), "abcde010,");
  EXPECT_NE(run->Log().find("\t\tWARNING:- No Mappings maintained for the table :abcde011\r\n\r\n\r\n"),
            std::string::npos);
}

TEST_F(GenerationRun, TraversalOnlyHappensWhenTheFlagEqualsTrue) {
  auto run = Run(2);
  run->generator.TraverseGeneration(1);  // non-zero, but not True
  run->generator.ListOfMappingObjectsSelected("abcde011");
  ASSERT_EQ(run->generator.GenerateXMLFile(), kTrue);
  EXPECT_EQ(run->generator.XMLWarnings(), 1);
}

TEST_F(GenerationRun, CheckedOutRowsWinAndTheOwnTripleIsTriedInTheSamePass) {
  auto run = Run(3);
  run->generator.XMLGenerationOption(EnumGenerateXML::All);
  run->generator.ConsiderCheckedOutVersions(kTrue);
  run->generator.ListOfMappingObjectsSelected("abcde010,abcde011");
  ASSERT_EQ(run->generator.GenerateXMLFile(), kTrue);
  const std::string log = run->Log();
  EXPECT_NE(log.find("\t\tConversion Object abcde010 in Profile No. 3 V-R-C  - 0300-02-CHK  Skipped as STATUS is "
                     "*Comment-Only*\r\n"),
            std::string::npos)
      << log;
  EXPECT_NE(log.find("\t\tConversion Object abcde011 in Profile No. 3 V-R-C  - 0300-01-STD  Skipped as STATUS is "
                     "*Comment-Only*\r\n"),
            std::string::npos)
      << log;
  EXPECT_EQ(run->generator.XMLWarnings(), 2);
}

TEST_F(GenerationRun, WithoutCheckedOutVersionsTheOwnRowsAreUsed) {
  auto run = Run(3);
  run->generator.ListOfMappingObjectsSelected("abcde010");
  ASSERT_EQ(run->generator.GenerateXMLFile(), kTrue);
  EXPECT_EQ(run->generator.ListOfXMLGenerated(), "abcde010,");
}

TEST_F(GenerationRun, EverySecondRunAppendsTheCheckedOutStatusAgain) {
  auto run = Run(3);
  run->generator.ConsiderCheckedOutVersions(kTrue);
  ASSERT_EQ(run->generator.GenerateXMLFile(), kTrue);
  EXPECT_EQ(run->generator.State().settings.statusList, "'V','G','E','C'");
  ASSERT_EQ(run->generator.GenerateXMLFile(), kTrue);
  EXPECT_EQ(run->generator.State().settings.statusList, "'V','G','E','C','C'");
  // The same rows are selected; the written list grows over runs.
  EXPECT_EQ(run->generator.XMLSuccess(), 1);
  EXPECT_EQ(run->generator.ListOfXMLGenerated(), "abcde010,abcde010,");
}

TEST_F(GenerationRun, DepthBelowOneMakesNoSearchPass) {
  auto run = Run(5);
  run->generator.ListOfMappingObjectsSelected("abcde010");
  ASSERT_EQ(run->generator.GenerateXMLFile(), kTrue);
  EXPECT_EQ(run->generator.XMLWarnings(), 1);
  EXPECT_EQ(run->generator.NoOfXMLGenerated(), 0);
}

TEST_F(GenerationRun, ACheckedOutTripleEqualToTheOwnTripleEndsThePassLikeAnyOther) {
  const std::string repo = ws_.Repository(
      {"run_profiles.sql"},
      "INSERT INTO qxmap100 VALUES (7, 'SRCAPP', 'TRGAPP', '0700', '01', 'STD ', '', '', '', 2, 'Y', NULL);"
      "INSERT INTO qxmap105 VALUES (7, '0700', '01', 'STD ');",
      "same.db");
  GeneratorUnderTest run(repo, 7, XmlDir());
  run.generator.ConsiderCheckedOutVersions(kTrue);
  run.generator.ListOfMappingObjectsSelected("abcde010");
  ASSERT_EQ(run.generator.GenerateXMLFile(), kTrue);
  EXPECT_EQ(run.generator.XMLWarnings(), 1);
  // One statement per pass: depth 2, so two passes, then the search ends.
  EXPECT_EQ(std::count_if(run.statements.begin(), run.statements.end(),
                          [](const std::string& s) { return s.rfind("select qxmap120.*", 0) == 0; }),
            2);
}

TEST_F(GenerationRun, AProfileDerivedFromItselfEndsTheSearch) {
  auto run = Run(4);
  run->generator.ListOfMappingObjectsSelected("abcde010");
  ASSERT_EQ(run->generator.GenerateXMLFile(), kTrue);
  EXPECT_EQ(run->generator.XMLWarnings(), 1);
}

TEST_F(GenerationRun, SummaryGroupsThousands) {
  // 1,200 target tables without mapping objects.
  std::string sql = "INSERT INTO qxddi140 (appl, cpac, cmod, flno) VALUES ";
  for (int i = 0; i < 1200; ++i) {
    char code[8];
    std::snprintf(code, sizeof code, "%04d", i);
    sql += std::string(i ? "," : "") + "('TRGAPP', 'zz', 'm" + std::string(code, 2) + "', '" +
           std::string(code + 1, 3) + "')";
  }
  std::string repo = ws_.Repository({"run_profiles.sql"}, sql + ";", "many.db");
  GeneratorUnderTest run(repo, 1, XmlDir());
  run.generator.PackageFrom("zz");
  run.generator.PackageTo("zz");
  run.generator.ModuleFrom("m00");
  run.generator.ModuleTo("m99");
  run.generator.TableFrom("000");
  run.generator.TableTo("999");
  ASSERT_EQ(run.generator.GenerateXMLFile(), kTrue);
  EXPECT_NE(run.Log().find("Doesn't Have Mappings               =  1,200\r\n"), std::string::npos);
  EXPECT_NE(run.Log().find("TOTAL          =  1,200\r\n"), std::string::npos);
}

TEST_F(GenerationRun, AQuoteInAClientValueIsRefusedBeforeAnyStatement) {
  // The repository does not even exist: a statement would fail differently.
  GeneratorUnderTest run(ws_.Path("missing.db"), 1, XmlDir());
  run.generator.PackageFrom("a'");
  EXPECT_EQ(run.generator.GenerateXMLFile(), kFalse);
  EXPECT_EQ(run.generator.ErrorDescription(),
            " 5-Invalid procedure call or argument: PackageFrom holds a single quote");
  EXPECT_FALSE(std::filesystem::exists(ws_.Path("missing.db")));

  GeneratorUnderTest listed(ws_.Path("missing.db"), 1, XmlDir());
  listed.generator.ListOfMappingObjectsSelected("abcde010') or ('1'='1");
  EXPECT_EQ(listed.generator.GenerateXMLFile(), kFalse);
  EXPECT_EQ(listed.generator.ErrorDescription(),
            " 5-Invalid procedure call or argument: ListOfMappingObjectsSelected holds a single quote");
}

TEST_F(GenerationRun, ARepositoryFailureEndsTheRunWithTheBackendMessage) {
  GeneratorUnderTest run(ws_.Path("missing.db"), 1, XmlDir());
  EXPECT_EQ(run.generator.GenerateXMLFile(), kFalse);
  EXPECT_EQ(run.generator.ErrorDescription().rfind("-2147217900-", 0), 0u) << run.generator.ErrorDescription();
  EXPECT_EQ(run.Log(), run.generator.ErrorDescription() + kCrLf);
}

TEST_F(GenerationRun, WithoutALogStreamTheRunFailsCleanly) {
  ClsXMLGenerator generator;
  generator.ConnectionString(Repo());
  generator.MigrationProfile(1);
  SetRange(generator);
  EXPECT_EQ(generator.GenerateXMLFile(), kFalse);
  EXPECT_EQ(generator.ErrorDescription(), " 91-Object variable or With block variable not set");
}

}  // namespace
}  // namespace tqlm::test

namespace tqlm::test {
namespace {

// The statements of the run exactly as built (the backend only turns "+"
// into "||"): every blank counts.
TEST_F(GenerationRun, StatementsAreSentExactlyAsBuilt) {
  auto run = Run(2);
  run->generator.ConsiderCheckedOutVersions(kTrue);
  run->generator.ListOfMappingObjectsSelected("abcde011");
  const std::vector<std::string>& statements = run->statements;
  ASSERT_EQ(run->generator.GenerateXMLFile(), kTrue);
  ASSERT_GE(statements.size(), 5u);
  EXPECT_EQ(statements[0], " select qxmap100.* from qxmap100 where mprf = 2");
  EXPECT_EQ(statements[1],
            " select qxddi140.cpac,qxddi140.cmod,qxddi140.flno  from qxddi140 where  qxddi140.appl ='TRGAPP' and "
            " qxddi140.cpac + qxddi140.cmod + qxddi140.flno in ('abcde011')");
  EXPECT_EQ(statements[2],
            "select qxmap120.*  from qxmap120   where qxmap120.mprf = 2  and qxmap120.vers ='0200' and "
            "qxmap120.rele ='01' and qxmap120.cust ='STD ' and qxmap120.tcpac='ab' and qxmap120.tcmod ='cde' and "
            "qxmap120.tflno='011' and stat in ('V','G','E','C' )");
  EXPECT_EQ(statements[3],
            " select qxmap100.* from qxmap100  where qxmap100.vers ='0100' and qxmap100.rele = '01' and "
            "qxmap100.cust = 'STD'");
  EXPECT_EQ(statements[4],
            "select qxmap120.*  from qxmap120   where qxmap120.mprf = 1  and qxmap120.vers ='0100' and "
            "qxmap120.rele ='01' and qxmap120.cust ='STD ' and qxmap120.tcpac='ab' and qxmap120.tcmod ='cde' and "
            "qxmap120.tflno='011' and stat in ('V','G','E','C' )");
}

TEST_F(GenerationRun, RangeStatementAndCheckedOutTripleOfTheProfile) {
  auto run = Run(3);
  run->generator.ConsiderCheckedOutVersions(kTrue);
  const std::vector<std::string>& statements = run->statements;
  ASSERT_EQ(run->generator.GenerateXMLFile(), kTrue);
  ASSERT_GE(statements.size(), 3u);
  EXPECT_EQ(statements[1], "select dver, drel, dcus  from qxmap105 where mprf = 3");
  EXPECT_EQ(statements[2],
            " select qxddi140.cpac,qxddi140.cmod,qxddi140.flno  from qxddi140 where  qxddi140.appl ='TRGAPP' and "
            " qxddi140.cpac between 'ab' and 'ab' and  qxddi140.cmod between 'cde' and 'cde' and  qxddi140.flno "
            "between '000' and '999'");
  EXPECT_EQ(statements[3].rfind("select qxmap120.*  from qxmap120   where qxmap120.mprf = 3  and qxmap120.vers ='0300' and", 0), 0u);
  EXPECT_NE(statements[3].find("qxmap120.rele ='02' and qxmap120.cust ='CHK '"), std::string::npos);
}

TEST_F(GenerationRun, AnEmptyRangeNamesItsBounds) {
  auto run = Run(1);
  run->generator.PackageFrom("zz");
  EXPECT_EQ(run->generator.GenerateXMLFile(), kFalse);
  EXPECT_EQ(run->generator.ErrorDescription(),
            " 123-No Mapping Objects exists to generate XML Files for the selected Range  zzcde000 TO abcde999 Please "
            "select a valid range.");
}

TEST_F(GenerationRun, ASecondRunRequotesTheStoredListAndTheRepositoryRejectsIt) {
  auto run = Run(1);
  run->generator.ListOfMappingObjectsSelected("abcde010");
  ASSERT_EQ(run->generator.GenerateXMLFile(), kTrue);
  EXPECT_EQ(run->generator.GenerateXMLFile(), kFalse);
  EXPECT_EQ(run->generator.ErrorDescription().rfind("-2147217900-", 0), 0u) << run->generator.ErrorDescription();
  run->generator.ListOfMappingObjectsSelected("abcde010");  // set again by the client: works again
  EXPECT_EQ(run->generator.GenerateXMLFile(), kTrue);
}

TEST_F(GenerationRun, QuotesInUnusedRangeBoundsDoNotMatterWhenAListIsUsed) {
  auto run = Run(1);
  run->generator.ModuleTo("x'");
  run->generator.ListOfMappingObjectsSelected("abcde010");
  EXPECT_EQ(run->generator.GenerateXMLFile(), kTrue);
}

}  // namespace
}  // namespace tqlm::test
