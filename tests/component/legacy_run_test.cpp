// The legacy run over a fixture repository: its log, its Base64 documents
// with the INFO and SRC_INFO sections, and the side files written after the
// summary, all against files derived by hand.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "core/component.h"
#include <tqlm/cls_xml_legacy.h>
#include <tqlm/base64.h>
#include "support.h"

namespace tqlm::test {
namespace {

class LegacyRun : public testing::Test {
 protected:
  // A legacy object over the fixture (plus `extraSql`), writing into xml/,
  // Schema.ini included.
  ClsXMLLegacy& Legacy(VbLong profile, const std::string& extraSql = {},
                       const std::vector<std::string>& fixtures = {"legacy_profiles.sql"}) {
    std::filesystem::create_directories(ws_.Dir() / "xml");
    legacy_.SetClock([] { return std::string(kFixedNow); });
    legacy_.SetWorkers(TestWorkers());
    legacy_.SetStatementObserver([this](std::string_view s) { statements_.emplace_back(s); });
    legacy_.ConnectionString(ws_.Repository(fixtures, extraSql));
    legacy_.MigrationProfile(profile);
    legacy_.XMLPath(Xml());
    legacy_.LogFileName(log_);
    legacy_.SchemaINIPath(Xml());
    return legacy_;
  }
  // Profile 5 over ab cus 0 to ab cus 99: the table bounds become 000 and 099.
  ClsXMLLegacy& Profile5(const std::string& extraSql = {}) {
    ClsXMLLegacy& l = Legacy(5, extraSql);
    SetRange(l, {"AB", "cus", "0"}, {"ab", "CUS", "99"});
    return l;
  }
  std::string Xml() const { return ws_.Path("xml"); }
  std::string XmlFile(const std::string& name) const { return ReadFile(ws_.Dir() / "xml" / name); }
  // A stored legacy document: the Base64 text of the expected document.
  std::string StoredDocument(const std::string& expected) const {
    return Encode_Base64(ReadFile(ExpectedPath("legacy/" + expected)));
  }
  unsigned Permissions(const std::string& name) const {
    struct stat info {};
    return ::stat((ws_.Dir() / "xml" / name).c_str(), &info) == 0 ? (info.st_mode & 0777) : 0;
  }
  // A file of `name` in xml/ as an earlier run left it.
  void EarlierFile(const std::string& name) const {
    std::ofstream(ws_.Dir() / "xml" / name, std::ios::binary) << "an earlier run's";
  }
  bool Exists(const std::string& name) const { return std::filesystem::exists(ws_.Dir() / "xml" / name); }
  // What xml/ holds under the names of files being written.
  std::vector<std::string> TemporaryFiles() const {
    std::vector<std::string> names;
    for (const std::string& name : ListFiles(ws_.Dir() / "xml"))
      if (std::filesystem::path(name).filename().string().rfind(".~tqlm-", 0) == 0) names.push_back(name);
    return names;
  }
  // The log ends with the run's error line, which is its error description.
  void EndsWithTheRunsError(const ClsXMLLegacy& l, const std::string& line) const {
    EXPECT_EQ(l.ErrorDescription(), line);
    const std::string& log = log_->text();
    ASSERT_GE(log.size(), line.size());
    EXPECT_EQ(log.substr(log.size() - line.size()), line);
  }
  bool Sent(const std::string& statement) const {
    return std::find(statements_.begin(), statements_.end(), statement) != statements_.end();
  }

  Workspace ws_;
  ClsXMLLegacy legacy_;
  std::shared_ptr<StringTextStream> log_ = std::make_shared<StringTextStream>();
  std::vector<std::string> statements_;
};

TEST_F(LegacyRun, WritesDocumentsSideFilesAndLogOfAProfileWithADataDictionaryTarget) {
  ClsXMLLegacy& l = Profile5();
  ASSERT_EQ(l.GenerateXMLFile(), kTrue) << log_->text();

  EXPECT_EQ(log_->text(), ReadFile(ExpectedPath("legacy/profile5.log")));
  EXPECT_EQ(l.XMLSuccess(), 1);
  EXPECT_EQ(l.XMLWarnings(), 2);
  EXPECT_EQ(l.XMLErrors(), 2);
  EXPECT_EQ(l.ErrorDescription(), "\t\tERROR:-  124 - Table details for the  Legacy table qxtblNOPE not present.\r\n");

  EXPECT_EQ(ListFiles(ws_.Dir() / "xml"),
            (std::vector<std::string>{"LookupApplication.txt", "Schema.ini", "abcus/xabcus0100", "xConversionCodes",
                                      "xConversionCodes.XML"}));
  EXPECT_EQ(XmlFile("abcus/xabcus0100"), StoredDocument("xabcus0100.document"));
  EXPECT_EQ(XmlFile("Schema.ini"), ReadFile(ExpectedPath("legacy/Schema.ini")));
  EXPECT_EQ(XmlFile("xConversionCodes.XML"), ReadFile(ExpectedPath("legacy/xConversionCodes.XML")));
  EXPECT_EQ(XmlFile("xConversionCodes"), StoredDocument("xConversionCodes.XML"));
  EXPECT_EQ(XmlFile("LookupApplication.txt"), ReadFile(ExpectedPath("legacy/LookupApplication.txt")));
  // Files that carry a password are their owner's alone.
  EXPECT_EQ(Permissions("LookupApplication.txt"), 0600u);
  EXPECT_EQ(Permissions("abcus/xabcus0100"), 0600u);

  // The table bounds are widened before they are compared as text.
  EXPECT_EQ(detail::StateOf(l).settings.tableFrom + "-" + detail::StateOf(l).settings.tableTo, "000-099");
}

TEST_F(LegacyRun, ALegacyTargetIsSelectedAndDescribedFromItsFileLayout) {
  ClsXMLLegacy& l = Legacy(6);
  SetRange(l, {"qx", "tbl", "a"}, {"qx", "tbl", "z"});
  l.ConsiderCheckedOutVersions(kTrue);
  ASSERT_EQ(l.GenerateXMLFile(), kTrue) << log_->text();

  EXPECT_EQ(XmlFile("qxtbl/xqxtbldest10"), StoredDocument("xqxtbldest10.document"));
  EXPECT_FALSE(std::filesystem::exists(ws_.Dir() / "xml" / "LookupApplication.txt"));
  EXPECT_EQ(log_->text().find("LookupApplication"), std::string::npos);
  EXPECT_EQ(l.XMLSuccess(), 1);
  // Letter bounds stand as given.
  EXPECT_TRUE(Sent(" select qxlgy140.cpac,qxlgy140.cmod,qxlgy140.flno  from qxlgy140 where  qxlgy140.appl ='LFT' and "
                   " qxlgy140.cpac between 'qx' and 'qx' and  qxlgy140.cmod between 'tbl' and 'tbl' and  "
                   "qxlgy140.flno between 'a' and 'z'"));
}

// The statements of the legacy run and its writers exactly as built: every
// blank counts.
TEST_F(LegacyRun, StatementsAreSentExactlyAsBuilt) {
  ClsXMLLegacy& l = Profile5();
  l.ListOfMappingObjectsSelected("abcus010");
  ASSERT_EQ(l.GenerateXMLFile(), kTrue) << log_->text();
  const std::string lsrc = "LSRC           ";
  for (const std::string& statement : {
           std::string("select pprf from qxmap101 where mprf = 5"),
           std::string("select * from qxddi100 where appl = 'LTRG           ' and extn = 1"),
           std::string(" select qxddi140.cpac,qxddi140.cmod,qxddi140.flno  from qxddi140 where  qxddi140.appl ='LTRG' "
                       "and  qxddi140.cpac + qxddi140.cmod + qxddi140.flno in ('abcus010')"),
           std::string("select qxmap120.*  from qxmap120   where qxmap120.mprf = 5  and qxmap120.vers ='0100' and "
                       "qxmap120.rele ='01' and qxmap120.cust ='STD ' and qxmap120.tcpac='ab' and qxmap120.tcmod "
                       "='cus' and qxmap120.tflno='010' and stat in ('V','G','M','E','X','D' )"),
           std::string(" select fdnm , cdom , iniv , dept , comb, mand from    qxddi150  where appl = 'LTRG           "
                       "' AND cpac = 'ab' AND cmod = 'cus' AND flno = '010' order by fdno"),
           std::string("SELECT chld FROM qxddi160  WHERE appl = 'LTRG           ' AND cpac = 'ab' AND cmod = 'cus' "
                       "AND flno = '010' AND fdnm = 'grp'"),
           " select * from qxlgy141  where appl='" + lsrc + "' and cpac='qx'  and cmod='fil'  and flno='customer.txt'",
           " select  'customer' + '_' + flna from qxlgy150  where  appl='" + lsrc + "' and  flno = 'customer.txt'",
           " select qxlgy140.* from qxlgy140  where qxlgy140.appl='" + lsrc +
               "' and qxlgy140.cpac='qx' and qxlgy140.cmod='tbl' and UPPER(qxlgy140.flno)=UPPER('ACCOUNTS')",
           std::string(" select qxlgy115.code, qxlgy115.ival, qxlgy115.oval  from qxlgy115  order by "
                       "qxlgy115.code,qxlgy115.ival "),
           std::string(" select * from qxlgy141  where appl='LSRC' and cpac='qx'  and cmod='fil' "),
           " select * from qxlgy150  where  qxlgy150.appl='" + lsrc +
               "' and qxlgy150.cpac='qx' and qxlgy150.cmod='fil' and qxlgy150.flno='C:\\DATA\\ITEMS.TXT' order by seqn ",
           std::string("select * from qxddi101 where appl='LKP'"),
       }) {
    EXPECT_TRUE(Sent(statement)) << statement;
  }
}

TEST_F(LegacyRun, AFailingConversionCodesStepEndsTheRunAfterTheSummary) {
  ClsXMLLegacy& l = Profile5("DROP TABLE qxlgy115;");
  EXPECT_EQ(l.GenerateXMLFile(), kFalse);
  const std::string line =
      "\t\tERROR in Create_Conversion_Code_XML:- -2147217900 - " + test_support::NoSuchTable("qxlgy115") + "\r\n";
  const std::string& log = log_->text();
  ASSERT_GE(log.size(), line.size());
  EXPECT_EQ(log.substr(log.size() - line.size()), line);
  EXPECT_NE(log.find("TOTAL          =  7"), std::string::npos);
  EXPECT_EQ(l.ErrorDescription(), line);
  EXPECT_EQ(l.XMLSuccess(), 1);  // the documents are written and counted
  EXPECT_FALSE(std::filesystem::exists(ws_.Dir() / "xml" / "Schema.ini"));
}

// A side file that fails once it was begun leaves no file of its name:
// neither the part written nor the file an earlier run left there, which
// would pass for this run's. The error line and the result stay those of
// the failure.
TEST_F(LegacyRun, ANullInTheLookupApplicationEndsTheRunThroughItsTrapAndLeavesNoFile) {
  ClsXMLLegacy& l = Profile5("UPDATE qxddi101 SET logn = NULL;");
  EarlierFile("LookupApplication.txt");
  EXPECT_EQ(l.GenerateXMLFile(), kFalse);
  EndsWithTheRunsError(l, "\t\tERROR:-  94 - Invalid use of Null\r\n");
  EXPECT_FALSE(Exists("LookupApplication.txt"));
  EXPECT_EQ(TemporaryFiles(), std::vector<std::string>{});
}

TEST_F(LegacyRun, ASchemaIniThatFailsOnceBegunLeavesNoSchemaIni) {
  // The files' header flags cannot be read: the writer meets that once begun.
  ClsXMLLegacy& l = Profile5("ALTER TABLE qxlgy141 RENAME COLUMN tcol TO tcox;");
  EarlierFile("Schema.ini");
  EXPECT_EQ(l.GenerateXMLFile(), kFalse);
  EXPECT_NE(log_->text().find("\t\tConversion Code XML Createad Successfully.\r\n"
                              "\t\tERROR in Build_Schema_ini :-  3265 - Item cannot be found in the collection "
                              "corresponding to the requested name or ordinal.\r\n"),
            std::string::npos)
      << log_->text();
  EndsWithTheRunsError(l, "\t\tERROR:-  124 - Error encountered while building schema.ini file\r\n");
  EXPECT_FALSE(Exists("Schema.ini"));
  EXPECT_EQ(TemporaryFiles(), std::vector<std::string>{});
  EXPECT_EQ(XmlFile("xConversionCodes.XML"), ReadFile(ExpectedPath("legacy/xConversionCodes.XML")));
}

TEST_F(LegacyRun, ConversionCodesThatFailOnceBegunLeaveNeitherFile) {
  ClsXMLLegacy& l = Profile5();
  // A folder where the Base64 file goes: it cannot take its name.
  std::filesystem::create_directory(ws_.Dir() / "xml" / "xConversionCodes");
  EarlierFile("xConversionCodes.XML");
  EXPECT_EQ(l.GenerateXMLFile(), kFalse);
  EndsWithTheRunsError(l, "\t\tERROR:-  75 - Path/File access error\r\n");
  EXPECT_FALSE(Exists("xConversionCodes.XML"));
  EXPECT_TRUE(std::filesystem::is_directory(ws_.Dir() / "xml" / "xConversionCodes"));  // no file: it stays
  EXPECT_EQ(TemporaryFiles(), std::vector<std::string>{});
  EXPECT_FALSE(Exists("Schema.ini"));  // never begun
}

TEST_F(LegacyRun, ALookupApplicationWithoutConnectionLeavesAnEmptyFile) {
  ClsXMLLegacy& l = Profile5("DELETE FROM qxddi101;");
  EXPECT_EQ(l.GenerateXMLFile(), kFalse);
  const std::string line = "\t\tERROR:-  124 - Error encountered while Creating LookupApplication file\r\n";
  EXPECT_EQ(l.ErrorDescription(), line);
  EXPECT_EQ(log_->text().substr(log_->text().size() - line.size()), line);
  EXPECT_EQ(XmlFile("LookupApplication.txt"), "");
}

// A profile of the largest depth (a Long) searches for an object without a
// row only while a pass can find something new: the run ends at once.
TEST_F(LegacyRun, TheDeepestProfileEndsTheSearchWhenNoPassCanFindMore) {
  ClsXMLLegacy& l = Profile5("UPDATE qxmap100 SET deph = 2147483647 WHERE mprf = 5;");
  l.TraverseGeneration(kTrue);
  l.ListOfMappingObjectsSelected("abcus010,abcus014");
  EXPECT_EQ(l.GenerateXMLFile(), kTrue) << log_->text();
  EXPECT_EQ(l.XMLSuccess(), 1);
  EXPECT_EQ(l.XMLWarnings(), 1);
}

TEST_F(LegacyRun, AFileEntryWhoseDetailsFailRaises124) {
  // The file row has no column of that name.
  ClsXMLLegacy& l = Profile5("ALTER TABLE qxlgy141 RENAME COLUMN nskp TO nskx;");
  l.ListOfMappingObjectsSelected("abcus010");
  EXPECT_EQ(l.GenerateXMLFile(), kTrue);
  EXPECT_NE(log_->text().find("\t\tERROR in Get_Legacy_File_details :-  3265 - Item cannot be found in the "
                              "collection corresponding to the requested name or ordinal.\r\nHint : for File : "
                              "qxfilcustomer.txt\t\tERROR:-  124 - File Details for qxfilcustomer.txt not present.\r\n"),
            std::string::npos)
      << log_->text();
  EXPECT_EQ(l.XMLErrors(), 1);
}

TEST_F(LegacyRun, GetConnStrDescribesATableOrAnswersEmpty) {
  ClsXMLLegacy& l = Legacy(5);
  EXPECT_EQ(l.GetConnStr("LSRC", "accounts"),
            "<constr> <dsn> acc_dsn</dsn> <logn>acc_user</logn> <pswd>p<w&d</pswd></constr>");
  EXPECT_EQ(l.GetConnStr("LSRC", "ACCOUNTS"), "");
  EXPECT_EQ(l.GetConnStr("LSRC", "nothing"), "");
}

// Profile 8: an M-script and a split table.
class LegacyMScriptAndSplit : public LegacyRun {
 protected:
  ClsXMLLegacy& Profile8(const std::string& list, const std::string& extraSql = {}, VbLong profile = 8) {
    ClsXMLLegacy& l = Legacy(profile, extraSql, {"legacy_profiles.sql", "legacy_mscript_split.sql"});
    l.ListOfMappingObjectsSelected(list);
    return l;
  }
};

TEST_F(LegacyMScriptAndSplit, TheFirstMemberWritesTheParentsDocumentAndLaterOnesAreSkipped) {
  ClsXMLLegacy& l = Profile8("abmsc101,abmsc1020,abmsc103,abmsc104");
  ASSERT_EQ(l.GenerateXMLFile(), kTrue) << log_->text();
  EXPECT_EQ(log_->text(), ReadFile(ExpectedPath("legacy/profile8_mscript.log")));
  EXPECT_EQ(XmlFile("abmsc/xabmsc1000"), StoredDocument("xabmsc1000.document"));
  // A parent whose member list finds nobody: an empty list everywhere.
  const std::string empty = Encode_Base64(
      "<ABMSC400 TYPE =\"M\" TARGETTABLES = \"\">\r\n <INFO>\r\n<INCLUDE></INCLUDE><VAR> </VAR><SRC_INFO>"
      "<ORDERS_CSV><NSKP>0</NSKP><SFLD>orders_ORDNO|orders_AMOUNT$|orders_WHEN|</SFLD></ORDERS_CSV>\r\n</SRC_INFO>"
      "<SOURCETABLES>orders.csv</SOURCETABLES> </INFO>\r\n<PRE-CONDITIONS>\r\n p   \r\n</PRE-CONDITIONS>\r\n"
      "</ABMSC400>");
  EXPECT_EQ(XmlFile("abmsc/xabmsc4000"), empty);
  EXPECT_EQ(detail::StateOf(l).run.listOfXMLGenerated, "abmsc101,abmsc1020,abmsc101,,abmsc104,");
  EXPECT_FALSE(std::filesystem::exists(ws_.Dir() / "xml" / "splitinfo.xml"));
}

TEST_F(LegacyMScriptAndSplit, ASplitTableGetsItsRangeCodeConditionProceduresAndSplitInfo) {
  ClsXMLLegacy& l = Profile8("abspl200");
  l.SplitVorps(kTrue);
  ASSERT_EQ(l.GenerateXMLFile(), kTrue) << log_->text();
  EXPECT_EQ(XmlFile("abspl/xabspl2000"), StoredDocument("xabspl2000.document"));
  EXPECT_EQ(XmlFile("splitinfo.xml"), ReadFile(ExpectedPath("legacy/splitinfo.xml")));
  EXPECT_EQ(Permissions("splitinfo.xml"), 0600u);
  EXPECT_EQ(l.GetFromToRange(), ReadFile(ExpectedPath("legacy/GetFromToRange.txt")));
}

TEST_F(LegacyMScriptAndSplit, SplitInformationThatFailsOnceBegunLeavesNoFile) {
  // The connections of the split source tables cannot be read.
  ClsXMLLegacy& l = Profile8("abmsc101", "ALTER TABLE qxlgy140 RENAME TO qxlgy140_gone;");
  l.SplitVorps(kTrue);
  EarlierFile("splitinfo.xml");
  EXPECT_EQ(l.GenerateXMLFile(), kFalse);
  const std::string error = l.ErrorDescription();
  EXPECT_EQ(error.rfind("\t\tERROR:- -2147217900 - ", 0), 0u) << error;
  EXPECT_NE(log_->text().find("\t\tSchema.ini File Built Successfully.\r\n" + error), std::string::npos);
  EndsWithTheRunsError(l, error);
  EXPECT_FALSE(Exists("splitinfo.xml"));
  EXPECT_EQ(TemporaryFiles(), std::vector<std::string>{});
}

TEST_F(LegacyMScriptAndSplit, RangeCodeAssignsTheFieldsInTheirRowOrder) {
  ClsXMLLegacy& l = Profile8("", "INSERT INTO qxmap300 (ttbl, stbl, flst) VALUES ('abspl201', 'customer.txt', 'CUSTNO'),"
                                 " ('abspl201', 'orders.csv', 'WHEN,ORDNO,AMOUNT$');");
  std::string out;
  ASSERT_EQ(l.AddSplitQueries_to_Precondition("LSRC", "x\r\nMIGRATE orders.csv", "abspl201", out), kTrue);
  const std::string src = "orders.csv";
  EXPECT_EQ(out,
            "x\r\n\r\nGetFromToRange \"orders.csv\", FromRng, ToRng\r\nIf FromRng <> \"\" then \r\n"
            "\tarrfld = split(FromRng,\",\")\r\n"
            "\r\n\tvarint_from_orders.csv_ORDNO = arrfld(0)\r\n\tvarint_from_orders.csv_AMOUNT$ = clng(arrfld(1))"
            "\r\n\tvarint_from_orders.csv_WHEN = clng(arrfld(2))\r\n"
            "Else \r\n\t RaiseError \"From Range Not found for table orders.csv\"\r\n\tcall HandleErrors\r\n"
            "\tExit Sub\r\nEnd if\r\nIf ToRng <> \"\" then \r\narrfld = split(ToRng,\",\")\r\n"
            "\r\n\tvarint_to_orders.csv_ORDNO = arrfld(0)\r\n\tvarint_to_orders.csv_AMOUNT$ = clng(arrfld(1))"
            "\r\n\tvarint_to_orders.csv_WHEN = clng(arrfld(2))\r\n"
            "Else \r\n\t RaiseError \"To Range Not found for table orders.csv\"\r\n\tCall HandleErrors \r\n"
            "\tExit Sub\r\nEnd if\r\nmigrate  orders.csv");
  // Three fields: exclusive below, inclusive above, compared in list order.
  const std::string* condition = detail::StateOf(l).document.splitConditions.Find("ORDERS.CSV");
  ASSERT_NE(condition, nullptr);
  EXPECT_EQ(*condition,
            "(((orders.csv.WHEN > varint_from_orders.csv_WHEN)"
            "\r\n\t or (orders.csv.WHEN = varint_from_orders.csv_WHEN and orders.csv.ORDNO > varint_from_orders.csv_ORDNO)\r\n"
            "\r\n\t or (orders.csv.WHEN = varint_from_orders.csv_WHEN\r\n\t and orders.csv.ORDNO = varint_from_orders.csv_ORDNO"
            " and orders.csv.AMOUNT$ > varint_from_orders.csv_AMOUNT$)\r\n) \r\n\t and "
            "((orders.csv.WHEN < varint_to_orders.csv_WHEN)"
            "\r\n\t or (orders.csv.WHEN = varint_to_orders.csv_WHEN and orders.csv.ORDNO < varint_to_orders.csv_ORDNO)\r\n"
            "\r\n\t or (orders.csv.WHEN = varint_to_orders.csv_WHEN\r\n\t and orders.csv.ORDNO = varint_to_orders.csv_ORDNO"
            " and orders.csv.AMOUNT$ < varint_to_orders.csv_AMOUNT$)\r\n"
            "\r\n\t or (orders.csv.WHEN = varint_to_orders.csv_WHEN\r\n\t and orders.csv.ORDNO = varint_to_orders.csv_ORDNO"
            "\r\n\t and orders.csv.AMOUNT$ = varint_to_orders.csv_AMOUNT$)))");
  // A string field of the file gets a string variable; a missing split row fails.
  ASSERT_EQ(l.AddSplitQueries_to_Precondition("LSRC", "migrate customer.txt", "abspl201", out), kTrue);
  EXPECT_NE(out.find("varint_from_customer.txt_CUSTNO = clng(arrfld(0))"), std::string::npos);
  EXPECT_EQ(l.AddSplitQueries_to_Precondition("LSRC", "migrate semi.txt", "abspl201", out), kFalse);
  EXPECT_EQ(out, "");
  EXPECT_EQ(l.ErrorDescription(), "\t\tERROR:in AddSplitQueries_to_Precondition  ErrNo. 1009: Split Information not "
                                  "given for the Target Table abspl201 - Source table semi.txt");
  EXPECT_EQ(l.get_split_fields("ignored", "abspl201", "orders.csv"), "WHEN,ORDNO,AMOUNT$");
  EXPECT_EQ(l.get_split_fields("ignored", "abspl201", "semi.txt"), "");
}

TEST_F(LegacyMScriptAndSplit, AProfileBeyondTheIntegerRangeOverflowsAtTheSplitInformation) {
  ClsXMLLegacy& l = Profile8("abspl200",
                             "INSERT INTO qxmap100 (mprf, sapp, tapp, vers, rele, cust, verf, relf, cusf, deph, scme) "
                             "VALUES (40000, 'LSRC', 'LTRG', '0800', '01', 'STD ', '', '', '', 1, 'N');",
                             40000);
  l.SplitVorps(kTrue);
  EXPECT_EQ(l.GenerateXMLFile(), kFalse);
  const std::string line = "\t\tERROR:-  6 - Overflow\r\n";
  EXPECT_EQ(log_->text().substr(log_->text().size() - line.size()), line);
  EXPECT_NE(log_->text().find("\t\tSchema.ini File Built Successfully.\r\n" + line), std::string::npos);
}

// A plan selects and searches as the run does: object by object the same
// outcome, the documents aside that failed only when written; and it writes
// nothing.
TEST_F(LegacyMScriptAndSplit, APlanAgreesWithTheRun) {
  auto outcomes = [](const Component& s) {
    std::vector<std::pair<std::string, ObjectOutcome>> list;
    for (const ObjectRecord& r : s.run.objects)
      list.emplace_back(r.code, r.outcome == ObjectOutcome::Failed ? ObjectOutcome::Written : r.outcome);
    return list;
  };
  const std::string repository = ws_.Repository({"legacy_profiles.sql", "legacy_mscript_split.sql"});
  for (const bool list : {true, false}) {
    ClsXMLLegacy planned, run;
    std::filesystem::remove_all(ws_.Dir() / "xml");
    std::filesystem::create_directories(ws_.Dir() / "xml");
    for (ClsXMLLegacy* l : {&planned, &run}) {
      l->ConnectionString(repository);
      l->MigrationProfile(list ? 8 : 5);
      l->XMLPath(Xml());
      l->SchemaINIPath(Xml());
      l->LogFileName(std::make_shared<StringTextStream>());
      if (list)
        l->ListOfMappingObjectsSelected("abmsc101,abmsc1020,abmsc103,abmsc104,abspl200");
      else
        SetRange(*l, {"ab", "cus", "0"}, {"ab", "cus", "99"});
    }
    ASSERT_EQ(planned.Plan(), kTrue);
    EXPECT_TRUE(ListFiles(ws_.Dir() / "xml").empty());
    ASSERT_EQ(run.GenerateXMLFile(), kTrue);
    EXPECT_EQ(outcomes(detail::StateOf(planned)), outcomes(detail::StateOf(run))) << list;
    EXPECT_GE(detail::StateOf(planned).run.objects.size(), 5u);
    // The plan left its object as it was: a run on it does what the other did.
    ASSERT_EQ(planned.GenerateXMLFile(), kTrue);
    EXPECT_EQ(detail::StateOf(planned).run.listOfXMLGenerated, detail::StateOf(run).run.listOfXMLGenerated);
    EXPECT_EQ(planned.XMLErrors(), run.XMLErrors());
  }
}

TEST(LegacyProperties, BoundsAreLowerCasedOrKeptAndANewObjectDoesNotTraverse) {
  ClsXMLLegacy l;
  l.PackageFrom("ABC");
  l.ModuleFrom("CuStOm");
  l.TableFrom("1");
  l.TableTo("A12345");
  const auto& s = detail::StateOf(l).settings;
  EXPECT_EQ(s.packageFrom + "|" + s.moduleFrom + "|" + s.tableFrom + "|" + s.tableTo + "|" + s.packageTo,
            "abc|custom|1|A12345|");
  EXPECT_EQ(s.traverseGeneration, kFalse);
}

}  // namespace
}  // namespace tqlm::test
