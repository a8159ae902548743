// The INFO section on a fixture repository: whole documents against
// hand-derived files, the failures of broken descriptions, and the field
// records handed to the dump writer.

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <filesystem>

#include "core/component.h"
#include "dictionary/domains.h"
#include "repository/schema.h"
#include "repository/sqlite_backend.h"
#include "document/field_tags.h"
#include "document/index_tags.h"
#include "document/source_tags.h"
#include "support.h"

namespace tqlm::test {
namespace {

class InfoSection : public testing::Test {
 protected:
  void SetUp() override {
    repo_ = ws_.Repository({"info_tables.sql"});
    std::filesystem::create_directories(ws_.Dir() / "xml");
  }
  std::string Written(const std::string& name) { return ReadFile(ws_.Dir() / "xml" / "abcde" / name); }

  Workspace ws_;
  std::string repo_;
};

TEST_F(InfoSection, DocumentsCarryTheCompleteInfoElementAndBrokenDescriptionsFail) {
  GeneratorUnderTest run(repo_, 1, ws_.Path("xml"));
  run.generator.ListOfMappingObjectsSelected("abcde010,abcde011,abcde012,abcde013,abcde014");
  ASSERT_EQ(run.generator.GenerateXMLFile(), kTrue);
  EXPECT_EQ(run.Log(), ReadFile(ExpectedPath("info/info_tables.log")));
  EXPECT_EQ(Written("xabcde0100.XML"), ReadFile(ExpectedPath("info/xabcde0100.XML")));
  EXPECT_EQ(Written("xabcde0140.XML"), ReadFile(ExpectedPath("info/xabcde0140.XML")));
  EXPECT_EQ(ListFiles(ws_.Dir() / "xml"), (std::vector<std::string>{"abcde/xabcde0100.XML", "abcde/xabcde0140.XML"}));
  EXPECT_EQ(run.generator.ErrorDescription(),
            "\t\tERROR: 112: No DDI Information present in the Appplication TRG for the TABLE: abcde013");
}

TEST_F(InfoSection, RepositoryTextReachesTheDocumentAsWindows1252) {
  const std::string extra =
      "INSERT INTO qxddi140 VALUES ('TRG', 'ab', 'cde', '015');"
      "INSERT INTO qxmap120 (mprf, vers, rele, cust, tcpac, tcmod, tflno, stat, stbl, prtx, isms) "
      "VALUES (1, '0100', '01', 'STD ', 'ab', 'cde', '015', 'V', '', 'x = \"café\"', 0);"
      "INSERT INTO qxddi150 (appl, cpac, cmod, flno, fdnm, fdno, cdom, dept, mand, comb) "
      "VALUES ('TRG', 'ab', 'cde', '015', 'prénom', 1, '', 0, 'N', 'N');"
      "INSERT INTO qxmap140 (mprf, vers, rele, cust, tcpac, tcmod, tflno, fdnm, mrul, type, dnum) "
      "VALUES (1, '0100', '01', 'STD ', 'ab', 'cde', '015', 'prénom', '\"€ 5\"', 0, 1);";
  GeneratorUnderTest run(ws_.Repository({"info_tables.sql"}, extra, "latin.db"), 1, ws_.Path("xml"));
  run.generator.ListOfMappingObjectsSelected("abcde015");
  ASSERT_EQ(run.generator.GenerateXMLFile(), kTrue) << run.Log();
  const std::string doc = Written("xabcde0150.XML");
  EXPECT_NE(doc.find(" <PR\xC9NOM DOMA = \"\""), std::string::npos);
  EXPECT_NE(doc.find("x = \"caf\xE9\""), std::string::npos);
  EXPECT_NE(doc.find("<PR\xC9NOM TYPE = \"0\"><VALUE>\"\x80 5\"</VALUE></PR\xC9NOM>"), std::string::npos);
}

// Lookups are remembered within a run only: a second run of the same object
// reads the repository as it is by then.
TEST_F(InfoSection, ASecondRunReadsDomainsAfresh) {
  GeneratorUnderTest run(repo_, 1, ws_.Path("xml"));
  const std::string before = "<FLDA DOMA = \"abfld\" COMB = \"N\" CHLD = \"\"  TYPE = \"L\" LENG = \"6\"";
  run.generator.ListOfMappingObjectsSelected("abcde010");
  ASSERT_EQ(run.generator.GenerateXMLFile(), kTrue) << run.Log();
  EXPECT_NE(Written("xabcde0100.XML").find(before), std::string::npos);

  Workspace::Change(repo_, "UPDATE qxddi220 SET leng = 7 WHERE cdom = 'fld'");
  run.generator.ListOfMappingObjectsSelected("abcde010");
  ASSERT_EQ(run.generator.GenerateXMLFile(), kTrue) << run.Log();
  std::string after = before;
  after.replace(after.size() - 2, 1, "7");
  EXPECT_NE(Written("xabcde0100.XML").find(after), std::string::npos);
}

// A reader called on its own, on the fixture's repository.
class Readers : public InfoSection {
 protected:
  void SetUp() override {
    InfoSection::SetUp();
    c_.services.repository.SetConnectionString(repo_);
    c_.services.log = log_;
  }
  void Use(const std::string& extraSql, const std::string& name) {
    c_.services.repository.SetConnectionString(ws_.Repository({"info_tables.sql"}, extraSql, name));
  }
  Component c_{kGeneratorTraits};
  std::shared_ptr<StringTextStream> log_ = std::make_shared<StringTextStream>();
};

// The readers' statements exactly as built: every blank counts.
TEST_F(Readers, StatementsAreSentExactlyAsBuilt) {
  GeneratorUnderTest run(repo_, 1, ws_.Path("xml"));
  run.generator.ListOfMappingObjectsSelected("abcde010");
  ASSERT_EQ(run.generator.GenerateXMLFile(), kTrue);
  const std::string table = "where appl = 'TRG' AND cpac = 'ab' AND cmod = 'cde' AND flno = '010'";
  for (const std::string& statement : std::initializer_list<std::string>{
           " select fdnm , cdom , iniv , dept , mand , comb from    qxddi150  " + table + " order by fdno",
           "SELECT * FROM qxddi160  WHERE appl = 'TRG' AND cpac = 'ab' AND cmod = 'cde' AND flno = '010' "
           "AND fdnm = 'key'",
           " select type , leng , diga , adju , conv , digb from qxddi220 where appl = 'TRG' AND cpac+cdom = 'abfld'",
           " select * from  qxddi200 " + table,
           " select vari from qxmap120 where mprf  = 1 AND vers = '0100' AND rele = '01' AND cust = 'STD ' "
           "AND tcpac = 'ab' AND tcmod = 'cde' AND tflno = '010'",
           "select cpac + cmod + flno + '.' + fdnm from qxddi150 where appl = 'SRC' and cpac + cmod + flno in "
           "('xyabc001' , 'xyabc002') and comb = 'N' ",
           " select * from  qxddi200 where appl = 'SRC' and cpac + cmod + flno in ('xyabc001' , 'xyabc002')",
           " select comb from    qxddi150  where appl = 'SRC' AND cpac = 'xy' AND cmod = 'abc' AND flno = "
           "'001' AND fdnm = 'skey'",
           " select qxmap140.fdnm, qxmap140.mrul, qxmap140.type, qxmap140.dnum  from qxmap140 WHERE  "
           "qxmap140.mprf = 1 AND  qxmap140.vers = '0100' AND  qxmap140.rele = '01' AND  qxmap140.cust = "
           "'STD ' AND  qxmap140.tcpac = 'ab' AND  qxmap140.tcmod = 'cde' AND  qxmap140.tflno = '010' order "
           "by dnum ",
           " select func from qxmap160  where mprf = 1 AND vers = '0100' AND rele = '01' AND cust = 'STD ' "
           "AND tcpac = 'ab' AND tcmod = 'cde' AND tflno = '010'"}) {
    EXPECT_NE(std::find(run.statements.begin(), run.statements.end(), statement), run.statements.end()) << statement;
  }
}

TEST_F(Readers, FieldRecordsCarryInitialAndNormalisedDefaultValues) {
  std::string text;
  ASSERT_TRUE(Construct_Field_Tags(c_, c_.document.fields, "TRG", "ab", "cde", "010", text));
  // Key: initial | default | type length align case mandatory domain depth.
  std::vector<std::string> records;
  for (const auto& [key, f] : c_.document.fields) {
    records.push_back(key + ": " + f.StrInitialValue + " | " + f.StrDefaultValue + " | " + f.StrFieldType + " " +
                      std::to_string(f.IntFieldLength) + " [" + f.StrFieldAlign + "] [" + f.StrFieldCase + "] [" +
                      f.StrMandField + "] " + f.StrDomainName + " " + std::to_string(f.IntDepth));
  }
  // Combined fields get no record; an array of depth 3 gets three. A blank
  // default takes the initial value, "LEFT" is cut to its first character
  // and an empty code becomes one blank.
  EXPECT_EQ(records,
            (std::vector<std::string>{
                "abcde010flda: 0 | 7 | L 6 [R] [ ] [Y] abfld 0",
                "abcde010name: String.Set$(\" \",30) | String.Set$(\" \",30) | S 30 [L] [U] [N] abname 0",
                "abcde010fldb: 0 | 0 |  0 [ ] [ ] []  0", "abcde010qty(1): 0 | 0 | I 4 [ ] [ ] [N] abqty 3",
                "abcde010qty(2): 0 | 0 | I 4 [ ] [ ] [N] abqty 3", "abcde010qty(3): 0 | 0 | I 4 [ ] [ ] [N] abqty 3",
                "abcde010amt: 0.0 | 5.0 | D 12 [R] [ ] [N] abamt 0",
                "abcde010created: utc(0,0) | utc(0,0) | K 22 [ ] [ ] [Y] abdate 0"}));
  EXPECT_EQ(log_->text(), "");
}

TEST_F(Readers, ADuplicateFieldIsReportedAndTheDescriptionGoesOn) {
  std::string text;
  ASSERT_TRUE(Construct_Field_Tags(c_, c_.document.fields, "TRG", "ab", "cde", "014", text));
  ASSERT_TRUE(Construct_Field_Tags(c_, c_.document.fields, "TRG", "ab", "cde", "014", text));
  EXPECT_EQ(log_->text(), "\t\tERROR: 457:This key is already associated with an element of this collection\r\n");
  EXPECT_EQ(c_.document.fields.Count(), 1);
}

TEST_F(Readers, AFailedChildListInsideTheSourceIndexLeavesAnEmptyList) {
  Use("DELETE FROM qxddi160 WHERE appl = 'SRC';", "nochildren.db");
  std::string text;
  ASSERT_TRUE(Construct_SrcIndex_Tag(c_, "SRC", "xyabc001", text));
  EXPECT_EQ(text, "<SRCINDEX> <xyabc001._index1> xyabc001.s1 ,  xyabc001.  ,  </xyabc001._index1></SRCINDEX>");
  EXPECT_EQ(log_->text(),
            "\t\tERROR: 113:No Child Field information for the field xyabc001.skey in the application SRC\r\n");
}

TEST_F(Readers, DomainValuesAreTheFirstRowsColumnsWithOnlyDigitsBeforeTrimmed) {
  if (test_support::UsesServer()) GTEST_SKIP() << "a server's numeric columns hold numbers only";
  Use("INSERT INTO qxddi220 (appl, cpac, cdom, type, leng, diga, adju, conv, digb) "
      "VALUES ('TRG', 'ab', 'odd', 'x', ' 5x ', ' 1x ', 'RR', ' u', ' 3x ');",  // texts, kept as stored
      "odd.db");
  DomainDescription d;
  ASSERT_TRUE(Construct_Domain_Tag(c_, "TRG", "abodd", d));
  EXPECT_EQ(d.type + "|" + d.length + "|" + d.digitsAfter + "|" + d.alignment + "|" + d.caseCode + "|" + d.digitsBefore,
            "X| 5x | 1x |RR| u|3x");
}

TEST_F(Readers, ALengthThatIsNotANumberLeavesTheFieldWithoutARecord) {
  if (test_support::UsesServer()) GTEST_SKIP() << "a server's numeric columns hold numbers only";
  Use("INSERT INTO qxddi220 (appl, cpac, cdom, type, leng) VALUES ('TRG', 'ab', 'blank', 'S', '  ');"
      "UPDATE qxddi150 SET cdom = 'abblank' WHERE appl = 'TRG' AND flno = '014';",
      "blanklength.db");
  std::string text;
  ASSERT_TRUE(Construct_Field_Tags(c_, c_.document.fields, "TRG", "ab", "cde", "014", text));
  EXPECT_EQ(c_.document.fields.Count(), 0);
  EXPECT_EQ(log_->text(), "\t\tERROR: 13:Type mismatch\r\n");
}

TEST_F(Readers, SourceDomainDetailsOfAFieldReference) {
  Use("INSERT INTO qxddi150 (appl, cpac, cmod, flno, fdnm, fdno, cdom, comb) "
      "VALUES ('TRG', 'xy', 'src', '001', 'nm', 1, 'abname', 'N');",
      "source.db");
  std::vector<std::string> sent;
  c_.services.repository.SetStatementObserver([&](std::string_view s) { sent.emplace_back(s); });
  auto details = [&](const std::string& reference) {
    SourceDomain d{"x", "y", "Q", 7};
    EXPECT_TRUE(Get_Domain_Details(c_, reference, "TRG", d));
    return d.caseCode + "|" + d.alignment + "|" + d.type + "|" + std::to_string(d.length);
  };
  EXPECT_EQ(details(" xysrc001.nm\r\n"), "U|LEFT|S|30");
  EXPECT_EQ(sent, (std::vector<std::string>{  // exactly as built
                      " select type,conv,adju,leng from qxddi220   where  appl = 'TRG'  and cpac + cdom = (select "
                      "cdom from qxddi150 where  appl = 'TRG' and cpac+ cmod + flno + '.' + fdnm = 'xysrc001.nm')"}));
  // Without a row the codes are emptied; type and length stay as they were.
  EXPECT_EQ(details("xysrc001.nothing"), "||Q|7");
}

// On SQLite the lookup searches the domain index by application and domain
// instead of reading every domain of the application, and gives the rows of
// the statement as written: trailing blanks count in its comparison.
TEST(SourceDomainLookup, SearchesTheDomainIndexOnSqlite) {
  test_support::TempFolder folder;
  const std::string file = folder.File("plan.db");
  CreateRepository(file, {folder.Write("domains.sql",
                                       "INSERT INTO qxddi150 (appl, cpac, cmod, flno, fdnm, fdno, cdom) VALUES "
                                       "('TRG', 'xy', 'src', '001', 'nm', 1, 'xyd1 '), ('TRG', 'xy', 'src', '001', 'n2', 2, 'xyd2');"
                                       "INSERT INTO qxddi220 (appl, cpac, cdom, type) VALUES ('TRG', 'xy', 'd1', 'A'), "
                                       "('TRG', 'xy', 'd2  ', 'B'), ('TRG', 'xy', 'd2', 'C');")});
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
  // The rows of a text as SQLite runs it, values pasted in.
  auto rows = [&](const std::string& text) {
    std::string out;
    sqlite3_stmt* st = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(db, text.c_str(), -1, &st, nullptr), SQLITE_OK) << text;
    while (sqlite3_step(st) == SQLITE_ROW) {
      for (int i = 0; i < sqlite3_column_count(st); ++i) {
        const unsigned char* value = sqlite3_column_text(st, i);
        out += (i > 0 ? "|" : "") + std::string(value ? reinterpret_cast<const char*>(value) : "");
      }
      out += ",";
    }
    sqlite3_finalize(st);
    return out;
  };
  Repository repository;
  repository.SetConnectionString(file);
  for (const char* reference : {"xysrc001.nm", "xysrc001.n2"}) {
    const Statement statement = SourceDomainStatement(reference, "TRG");
    std::string written;  // the statement as shown, texts joined as SQLite joins them
    for (char c : statement.Rendered()) written += c == '+' ? std::string("||") : std::string(1, c);
    EXPECT_EQ(repository.Open(statement).GetString("|", ","), rows(written)) << reference;
  }
  EXPECT_EQ(repository.Open(SourceDomainStatement("xysrc001.n2", "TRG")).GetString("|", ","), "C|||,");
  const std::string text = SourceDomainStatement("xysrc001.nm", "TRG").Shape(kSqliteDialect, Places::kQuestionMarks);
  sqlite3_stmt* plan = nullptr;
  ASSERT_EQ(sqlite3_prepare_v2(db, ("EXPLAIN QUERY PLAN " + text).c_str(), -1, &plan, nullptr), SQLITE_OK);
  std::string steps;
  while (sqlite3_step(plan) == SQLITE_ROW) steps += reinterpret_cast<const char*>(sqlite3_column_text(plan, 3)) + std::string("\n");
  sqlite3_finalize(plan);
  sqlite3_close(db);
  repository.Disconnect();
  EXPECT_NE(steps.find("SEARCH qxddi220 USING INDEX qxddi220_domain (appl=? AND <expr>=?)"), std::string::npos) << steps;
}

}  // namespace
}  // namespace tqlm::test
