// Writing one mapping-object document: folders, file names, the fragment
// check and the error lines of the document writer.

#include <gtest/gtest.h>

#include <filesystem>

#include "core/component.h"
#include "document/document_file.h"
#include "support.h"

namespace tqlm::test {
namespace {

namespace stdfs = std::filesystem;

TEST(FragmentCheck, TheGeneratorChecksNonBlankFragmentsUnwrappedTheLegacyClassOnlyInMScripts) {
  Component generator(kGeneratorTraits);
  std::string document = "<X>\r\n";
  EXPECT_TRUE(AppendFragment(generator, document, "   ", "", false));  // blank: skipped, not appended
  EXPECT_EQ(document, "<X>\r\n");
  EXPECT_FALSE(AppendFragment(generator, document, " \r\n ", "", false));           // only blanks are trimmed
  EXPECT_TRUE(AppendFragment(generator, document, "<a/><b/>", "AllDumps", false));  // valid only wrapped
  EXPECT_EQ(document, "<X>\r\n<a/><b/>");
  EXPECT_FALSE(AppendFragment(generator, document, "<a/><b/>", "", false));
  EXPECT_FALSE(AppendFragment(generator, document, "<a>x < y</a>", "", false));
  EXPECT_EQ(document, "<X>\r\n<a/><b/>");

  // The legacy class appends every fragment unchecked, except in M-scripts.
  Component legacy(kLegacyTraits);
  document.clear();
  EXPECT_TRUE(AppendFragment(legacy, document, "<a>x < y</a>", "", false));
  EXPECT_TRUE(AppendFragment(legacy, document, "  ", "", false));
  EXPECT_EQ(document, "<a>x < y</a>  ");
  EXPECT_FALSE(AppendFragment(legacy, document, "<a>x < y</a>", "", true));
}

class DocumentRun : public testing::Test {
 protected:
  void SetUp() override { repo_ = ws_.Repository({"run_profiles.sql"}); }
  Workspace ws_;
  std::string repo_;
};

TEST_F(DocumentRun, AMissingOutputFolderFailsEachObjectWithTheErrorLine) {
  GeneratorUnderTest run(repo_, 1, ws_.Path("no-such-folder"));
  run.generator.ListOfMappingObjectsSelected("abcde010,abcde011");
  ASSERT_EQ(run.generator.GenerateXMLFile(), kTrue);
  EXPECT_EQ(Counters(run.generator), "success 0, warnings 0, errors 2, generated 2");
  EXPECT_EQ(run.generator.ErrorDescription(), "\t\tERROR: 76:Path not found");
  const std::string started =
      "(1.)\t2026-01-02 03:04:05\tStarted exporting the Conversion Object: abcde010 as XML File.\r\n";
  EXPECT_EQ(run.Log().rfind(started + "\t\tERROR: 76:Path not found\r\n(2.)", 0), 0u) << run.Log();
  EXPECT_FALSE(stdfs::exists(ws_.Dir() / "no-such-folder"));
}

TEST_F(DocumentRun, ATableCodeThatCannotNameAnElementOrAFileFailsOnlyThatObject) {
  const std::string extra =
      "INSERT INTO qxddi140 (appl, cpac, cmod, flno) VALUES ('TRGAPP', '..', '/tm', '001'), ('TRGAPP', 'a`', 'cde', '002');"
      "INSERT INTO qxmap120 (mprf, vers, rele, cust, tcpac, tcmod, tflno, stat, prtx, isms) VALUES "
      "(1, '0100', '01', 'STD ', '..', '/tm', '001', 'V', 'p', 0), (1, '0100', '01', 'STD ', 'a`', 'cde', '002', 'V', 'p', 0);";
  std::string repo = ws_.Repository({"run_profiles.sql"}, extra, "hostile.db");
  stdfs::create_directories(ws_.Dir() / "xml");
  GeneratorUnderTest run(repo, 1, ws_.Path("xml"));
  run.generator.ListOfMappingObjectsSelected("../tm001,a`cde002,abcde010");
  ASSERT_EQ(run.generator.GenerateXMLFile(), kTrue);
  EXPECT_EQ(Counters(run.generator), "success 1, warnings 0, errors 2, generated 3");
  EXPECT_NE(run.Log().find("\t\tERROR: 5:The table code ../tm001 cannot name an XML element.\r\n"), std::string::npos);
  EXPECT_NE(run.Log().find("\t\tERROR: 5:The table code a`cde002 cannot name an XML element.\r\n"), std::string::npos);
  // Nothing but the one document beside the scripts (and SQLite's files).
  std::vector<std::string> files{"hostile.db.extra.sql", "xml/abcde/xabcde0100.XML"};
  if (!test_support::UsesServer()) files = {"hostile.db", "hostile.db.extra.sql", "repository.db", files[1]};
  EXPECT_EQ(ListFiles(ws_.Dir()), files);
}

}  // namespace
}  // namespace tqlm::test
