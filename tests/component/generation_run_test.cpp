// The generation run over fixture repositories: selection, search through
// checked-out versions and parent profiles, status rules, log and counters.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <tuple>

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
    SetRange(run->generator, {"ab", "cde", "0"}, {"ab", "cde", "999"});
    return run;
  }
  // Runs `profile` over the objects of `list`; the run must return True.
  std::unique_ptr<GeneratorUnderTest> Generate(VbInteger profile, const std::string& list) {
    auto run = Run(profile);
    run->generator.ListOfMappingObjectsSelected(list);
    EXPECT_EQ(run->generator.GenerateXMLFile(), kTrue) << run->Log();
    return run;
  }

  Workspace ws_;
  std::string repo_;
};

TEST_F(GenerationRun, DefaultStatusesExportVerifiedGeneratedAndErrorObjects) {
  auto run = Run(1);
  ASSERT_EQ(run->generator.GenerateXMLFile(), kTrue) << run->Log();

  EXPECT_EQ(run->Log(), ReadFile(ExpectedPath("run/profile1_default_range.log")));
  EXPECT_EQ(Counters(run->generator), "success 3, warnings 4, errors 0, generated 3");
  EXPECT_EQ(run->generator.ListOfXMLGenerated(), "abcde010,abcde011,abcde012,");
  EXPECT_EQ(run->generator.ErrorDescription(), "");

  EXPECT_EQ(ListFiles(ws_.Dir() / "xml"),
            (std::vector<std::string>{"abcde/xabcde0100.XML", "abcde/xabcde0110.XML", "abcde/xabcde0120.XML"}));
  for (const char* code : {"abcde010", "abcde011", "abcde012"}) {
    std::string name = std::string("x") + code + "0.XML";
    EXPECT_EQ(ReadFile(ws_.Dir() / "xml" / "abcde" / name), ReadFile(ExpectedPath("run/" + name)));
  }
}

TEST_F(GenerationRun, OptionsFourAndFiveLogEveryStatus) {
  // Both count every object with a row as generated, whatever its status;
  // option 4 skips the error status as an error.
  for (auto [option, log, counters] :
       {std::tuple{EnumGenerateXML::All, "run/profile1_option5_range.log",
                   "success 3, warnings 3, errors 1, generated 6"},
        std::tuple{EnumGenerateXML::GENERATED_VERIFIED_MAINTAINED, "run/profile1_option4_range.log",
                   "success 2, warnings 3, errors 2, generated 6"}}) {
    std::filesystem::remove_all(ws_.Dir() / "xml");
    auto run = Run(1);
    run->generator.XMLGenerationOption(option);
    ASSERT_EQ(run->generator.GenerateXMLFile(), kTrue);
    EXPECT_EQ(run->Log(), ReadFile(ExpectedPath(log)));
    EXPECT_EQ(Counters(run->generator), counters);
  }
  EXPECT_FALSE(std::filesystem::exists(ws_.Dir() / "xml" / "abcde" / "xabcde0120.XML"));  // option 4's error
}

TEST_F(GenerationRun, AMissingProfileEndsTheRunWithOnlyTheErrorLineAndKeepsTheCounters) {
  auto run = Run(1);
  ASSERT_EQ(run->generator.GenerateXMLFile(), kTrue);
  const std::string firstLog = run->Log();
  run->generator.MigrationProfile(12);
  EXPECT_EQ(run->generator.GenerateXMLFile(), kFalse);
  EXPECT_EQ(run->generator.ErrorDescription(), " 111-Migration Profile No. 12 not available.");
  EXPECT_EQ(run->Log(), firstLog + " 111-Migration Profile No. 12 not available." + kCrLf);
  EXPECT_EQ(Counters(run->generator), "success 3, warnings 4, errors 0, generated 0");  // only "generated" restarts
}

TEST_F(GenerationRun, AnEmptySelectionNamesItsRange) {
  GeneratorUnderTest listed(Repo(), 1, XmlDir());  // a list names the blank default range
  listed.generator.ListOfMappingObjectsSelected("zzzzz999");
  EXPECT_EQ(listed.generator.GenerateXMLFile(), kFalse);
  const std::string expected =
      " 123-No Mapping Objects exists to generate XML Files for the selected Range           TO "
      "         Please select a valid range.";
  EXPECT_EQ(listed.generator.ErrorDescription(), expected);
  EXPECT_EQ(listed.Log(), expected + kCrLf);

  auto ranged = Run(1);
  ranged->generator.PackageFrom("zz");
  EXPECT_EQ(ranged->generator.GenerateXMLFile(), kFalse);
  EXPECT_EQ(ranged->generator.ErrorDescription(),
            " 123-No Mapping Objects exists to generate XML Files for the selected Range  zzcde000 TO abcde999 Please "
            "select a valid range.");
}

TEST_F(GenerationRun, ListEntriesKeepBlanksAfterCommasInsideTheirQuotes) {
  auto run = Generate(1, "abcde011, abcde010,abfgh001");
  // " abcde010" selects nothing; the others are exported in the database's order.
  EXPECT_EQ(run->generator.ListOfXMLGenerated(), "abcde011,abfgh001,");
}

// Where the search for an object's rules goes: into the parent profile only
// when traversal is exactly True, not at all below depth one, and no further
// than a profile derived from itself.
TEST_F(GenerationRun, TheSearchThroughParentProfiles) {
  struct Case {
    VbInteger profile;
    VbBoolean traverse;
    const char* list;
    const char* generated;
    VbLong warnings;
  };
  // Profile 2 keeps only 010 and derives from 1; 3 has checked-out versions,
  // not asked for here; 4 derives from itself; 5 has depth 0.
  for (const Case& c : {Case{2, kTrue, "abcde010,abcde011,abcde013", "abcde010,abcde011,", 1},
                        Case{2, kFalse, "abcde010,abcde011", "abcde010,", 1},
                        Case{2, 1, "abcde011", "", 1},  // non-zero, but not True
                        Case{3, kTrue, "abcde010", "abcde010,", 0}, Case{4, kTrue, "abcde010", "", 1},
                        Case{5, kTrue, "abcde010", "", 1}}) {
    auto run = Run(c.profile);
    run->generator.TraverseGeneration(c.traverse);
    run->generator.ListOfMappingObjectsSelected(c.list);
    ASSERT_EQ(run->generator.GenerateXMLFile(), kTrue);
    EXPECT_EQ(run->generator.ListOfXMLGenerated(), c.generated) << c.profile << " " << c.list;
    EXPECT_EQ(run->generator.XMLWarnings(), c.warnings) << c.profile << " " << c.list;
    if (c.traverse == kFalse) {
      EXPECT_NE(run->Log().find("\t\tWARNING:- No Mappings maintained for the table :abcde011\r\n\r\n\r\n"),
                std::string::npos);
    }
  }
}

TEST_F(GenerationRun, CheckedOutRowsWinAndTheOwnTripleIsTriedInTheSamePass) {
  auto run = Run(3);
  run->generator.XMLGenerationOption(EnumGenerateXML::All);
  run->generator.ConsiderCheckedOutVersions(kTrue);
  run->generator.ListOfMappingObjectsSelected("abcde010,abcde011");
  ASSERT_EQ(run->generator.GenerateXMLFile(), kTrue);
  for (const char* found :
       {"abcde010 in Profile No. 3 V-R-C  - 0300-02-CHK", "abcde011 in Profile No. 3 V-R-C  - 0300-01-STD"}) {
    EXPECT_NE(
        run->Log().find(std::string("\t\tConversion Object ") + found + "  Skipped as STATUS is *Comment-Only*\r\n"),
        std::string::npos)
        << run->Log();
  }
  EXPECT_EQ(run->generator.XMLWarnings(), 2);
}

TEST_F(GenerationRun, EverySecondRunAppendsTheCheckedOutStatusAgain) {
  auto run = Run(3);
  run->generator.ConsiderCheckedOutVersions(kTrue);
  ASSERT_EQ(run->generator.GenerateXMLFile(), kTrue);
  auto searchedWith = [&](const std::string& statuses) {
    return std::any_of(run->statements.begin(), run->statements.end(), [&](const std::string& s) {
      return s.rfind("select qxmap120.*", 0) == 0 && s.size() > statuses.size() &&
             s.compare(s.size() - statuses.size(), statuses.size(), statuses) == 0;
    });
  };
  EXPECT_TRUE(searchedWith("stat in ('V','G','E','C' )"));
  run->statements.clear();
  ASSERT_EQ(run->generator.GenerateXMLFile(), kTrue);
  EXPECT_TRUE(searchedWith("stat in ('V','G','E','C','C' )"));
  // The same rows are selected; the written list grows over runs.
  EXPECT_EQ(run->generator.XMLSuccess(), 1);
  EXPECT_EQ(run->generator.ListOfXMLGenerated(), "abcde010,abcde010,");
}

// The search ends when a further pass could not differ from the last: an
// object not found under a profile of the largest depth (an Integer in the
// generator) costs a pass, with and without traversal, and the log is that
// of every pass made.
TEST_F(GenerationRun, TheDeepestProfileSearchesOnlyWhileAPassCanFindSomethingNew) {
  for (const VbBoolean traverse : {kTrue, kFalse}) {
    GeneratorUnderTest run(
        ws_.Repository({"run_profiles.sql"}, "UPDATE qxmap100 SET deph = 32767 WHERE mprf IN (1, 2);",
                       traverse == kTrue ? "deep.db" : "deep-off.db"),
        2, XmlDir());
    run.generator.TraverseGeneration(traverse);
    run.generator.ListOfMappingObjectsSelected("abcde010,abcde016");
    ASSERT_EQ(run.generator.GenerateXMLFile(), kTrue);
    // abcde010 is profile 2's own; abcde016 has no row anywhere.
    EXPECT_EQ(Counters(run.generator), "success 1, warnings 1, errors 0, generated 1");
    EXPECT_NE(run.Log().find("WARNING:- No Mappings maintained for the table :abcde016"), std::string::npos);
    EXPECT_LE(std::count_if(run.statements.begin(), run.statements.end(),
                            [](const std::string& s) { return s.rfind("select qxmap120.*", 0) == 0; }),
              4);
  }
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
  // One statement per pass; depth 2 allows two, but a second pass would ask
  // what the first asked (no parent profile to move to), so there is one.
  EXPECT_EQ(std::count_if(run.statements.begin(), run.statements.end(),
                          [](const std::string& s) { return s.rfind("select qxmap120.*", 0) == 0; }),
            1);
}

TEST_F(GenerationRun, SummaryGroupsThousands) {
  // 1,200 target tables without mapping objects: zz m00 000 to zz m11 199.
  GeneratorUnderTest run(
      ws_.Repository({"run_profiles.sql"},
                     "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 1199) "
                     "INSERT INTO qxddi140 (appl, cpac, cmod, flno) SELECT 'TRGAPP', 'zz', "
                     "'m' || substr(cast(10000 + i AS TEXT), 2, 2), substr(cast(10000 + i AS TEXT), 3, 3) FROM n;",
                     "many.db"),
      1, XmlDir());
  SetRange(run.generator, {"zz", "m00", "000"}, {"zz", "m99", "999"});
  ASSERT_EQ(run.generator.GenerateXMLFile(), kTrue);
  EXPECT_NE(run.Log().find("Doesn't Have Mappings               =  1,200\r\n"), std::string::npos);
  EXPECT_NE(run.Log().find("TOTAL          =  1,200\r\n"), std::string::npos);
}

// A client value is a value, quotes and all: it selects what holds exactly
// that text, here nothing (error 123), and the statement shows it pasted in
// as the procedures build it.
TEST_F(GenerationRun, AQuoteInAClientValueIsOnlyAValue) {
  auto listed = Run(1);
  listed->generator.ListOfMappingObjectsSelected("abcde010') or ('1'='1");
  EXPECT_EQ(listed->generator.GenerateXMLFile(), kFalse);
  EXPECT_EQ(listed->generator.ErrorDescription().rfind(" 123-", 0), 0u) << listed->generator.ErrorDescription();
  ASSERT_FALSE(listed->statements.empty());
  const std::string& selection = listed->statements.back();
  EXPECT_NE(selection.find(" in ('abcde010') or ('1'='1')"), std::string::npos) << selection;

  auto ranged = Run(1);
  SetRange(ranged->generator, {"a'", "cde", "000"}, {"a'", "zzz", "999"});
  EXPECT_EQ(ranged->generator.GenerateXMLFile(), kFalse);
  EXPECT_EQ(ranged->generator.ErrorDescription().rfind(" 123-", 0), 0u) << ranged->generator.ErrorDescription();
  EXPECT_EQ(ranged->generator.XMLSuccess(), 0);
}

// The run stores the list back quoted; a second run quotes it again, and its
// codes, quotes and all, select nothing. Setting the list again works.
TEST_F(GenerationRun, ASecondRunRequotesTheStoredListWhichThenSelectsNothing) {
  auto run = Generate(1, "abcde010");
  run->statements.clear();
  EXPECT_EQ(run->generator.GenerateXMLFile(), kFalse);
  EXPECT_EQ(run->generator.ErrorDescription().rfind(" 123-", 0), 0u) << run->generator.ErrorDescription();
  ASSERT_FALSE(run->statements.empty());
  EXPECT_NE(run->statements.back().find(" in (''abcde010'')"), std::string::npos) << run->statements.back();
  run->generator.ListOfMappingObjectsSelected("abcde010");  // set again by the client: works again
  EXPECT_EQ(run->generator.GenerateXMLFile(), kTrue);
}

TEST_F(GenerationRun, WithoutALogStreamTheRunFailsCleanly) {
  ClsXMLGenerator generator;
  generator.ConnectionString(Repo());
  generator.MigrationProfile(1);
  SetRange(generator, {"ab", "cde", "0"}, {"ab", "cde", "999"});
  EXPECT_EQ(generator.GenerateXMLFile(), kFalse);
  EXPECT_EQ(generator.ErrorDescription(), " 91-Object variable or With block variable not set");
}

// A log that fails in mid-run ends the run with the failure, whatever
// workers are building meanwhile: they stop before the run's state goes.
TEST_F(GenerationRun, ALogThatFailsInMidRunEndsItWithWorkersBuilding) {
  class FailingLog final : public TextStream {
   public:
    explicit FailingLog(int writes) : left_(writes) {}

   protected:
    void Put(std::string_view) override {
      if (left_-- == 0) Raise(kErrDiskFull);
    }

   private:
    int left_;
  };
  for (int writes = 0; writes < 24; ++writes) {
    auto run = Run(1);
    run->generator.SetWorkers(4);
    run->generator.LogFileName(std::make_shared<FailingLog>(writes));
    EXPECT_EQ(run->generator.GenerateXMLFile(), kFalse) << writes;
  }
}

// What the last document built leaves, which the public methods that
// rewrite rule texts read, is the same whichever thread built it.
TEST_F(GenerationRun, TheLastDocumentsStateStaysWithTheComponentWhoeverBuiltIt) {
  auto left = [&](int workers) {
    auto run = Run(1);
    run->generator.SetWorkers(workers);
    EXPECT_EQ(run->generator.GenerateXMLFile(), kTrue) << run->Log();
    const DocumentState& d = detail::StateOf(run->generator).document;
    return std::make_tuple(d.fields.Count(), d.declarations, d.includeText, d.migrateCount, d.splitDeclarations,
                           d.splitConditions.Count());
  };
  const auto alone = left(1);
  EXPECT_GT(std::get<0>(alone), 0);  // the fields of abcde012, the last written
  for (int attempt = 0; attempt < 8; ++attempt) EXPECT_EQ(left(4), alone) << attempt;
}

// The statements of the run exactly as built (the backend only turns "+"
// into "||"): every blank counts.
TEST_F(GenerationRun, StatementsAreSentExactlyAsBuilt) {
  auto listed = Run(2);  // a list, and a search into the parent profile
  listed->generator.ConsiderCheckedOutVersions(kTrue);
  listed->generator.ListOfMappingObjectsSelected("abcde011");
  ASSERT_EQ(listed->generator.GenerateXMLFile(), kTrue);
  ASSERT_GE(listed->statements.size(), 5u);
  EXPECT_EQ(std::vector<std::string>(listed->statements.begin(), listed->statements.begin() + 5),
            (std::vector<std::string>{
                " select qxmap100.* from qxmap100 where mprf = 2",
                " select qxddi140.cpac,qxddi140.cmod,qxddi140.flno  from qxddi140 where  qxddi140.appl ='TRGAPP' and "
                " qxddi140.cpac + qxddi140.cmod + qxddi140.flno in ('abcde011')",
                "select qxmap120.*  from qxmap120   where qxmap120.mprf = 2  and qxmap120.vers ='0200' and "
                "qxmap120.rele ='01' and qxmap120.cust ='STD ' and qxmap120.tcpac='ab' and qxmap120.tcmod ='cde' and "
                "qxmap120.tflno='011' and stat in ('V','G','E','C' )",
                " select qxmap100.* from qxmap100  where qxmap100.vers ='0100' and qxmap100.rele = '01' and "
                "qxmap100.cust = 'STD'",
                "select qxmap120.*  from qxmap120   where qxmap120.mprf = 1  and qxmap120.vers ='0100' and "
                "qxmap120.rele ='01' and qxmap120.cust ='STD ' and qxmap120.tcpac='ab' and qxmap120.tcmod ='cde' and "
                "qxmap120.tflno='011' and stat in ('V','G','E','C' )"}));

  // (The range's statement is built as the legacy class's, checked there.)
  auto checkedOut = Run(3);  // the profile's checked-out triple
  checkedOut->generator.ConsiderCheckedOutVersions(kTrue);
  ASSERT_EQ(checkedOut->generator.GenerateXMLFile(), kTrue);
  const std::vector<std::string>& sent = checkedOut->statements;
  ASSERT_GE(sent.size(), 4u);
  EXPECT_EQ(sent[1], "select dver, drel, dcus  from qxmap105 where mprf = 3");
  EXPECT_EQ(sent[3].rfind("select qxmap120.*  from qxmap120   where qxmap120.mprf = 3  and qxmap120.vers ='0300' and", 0),
            0u);
  EXPECT_NE(sent[3].find("qxmap120.rele ='02' and qxmap120.cust ='CHK '"), std::string::npos);
}

}  // namespace
}  // namespace tqlm::test
