// The property setters of the generator class and their stored forms.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "interface/cls_xml_generator.h"
#include "interface/component.h"
#include "platform/error.h"
#include "support.h"

namespace tqlm::test {
namespace {

TEST(GeneratorProperties, RangeBoundsAreStoredLowerCasedInFixedWidth) {
  ClsXMLGenerator g;
  const Component& s = g.State();
  g.TableFrom("7");
  EXPECT_EQ(s.tableFrom, "007");
  g.TableFrom("A1234");
  EXPECT_EQ(s.tableFrom, "234");
  g.PackageFrom("TCX");
  EXPECT_EQ(s.packageFrom, "tc");
  g.PackageTo("T");
  EXPECT_EQ(s.packageTo, "t ");
  g.ModuleFrom("AB");
  EXPECT_EQ(s.moduleFrom, "ab ");
  g.ModuleTo("ABCDE");
  EXPECT_EQ(s.moduleTo, "abc");
  EXPECT_EQ(s.tableTo, "   ");  // never set
  g.TableTo("");
  EXPECT_EQ(s.tableTo, "000");
}

TEST(GeneratorProperties, NewObjectDefaults) {
  ClsXMLGenerator g;
  const Component& s = g.State();
  EXPECT_EQ(s.statusList, "'V','G','E'");
  EXPECT_EQ(s.traverseGeneration, kTrue);
  EXPECT_EQ(s.considerCheckedOutVersions, kFalse);
  EXPECT_EQ(s.splitVorps, kFalse);
  EXPECT_EQ(s.include2GBCheck, kFalse);
  EXPECT_EQ(s.packageFrom, "  ");
  EXPECT_EQ(s.moduleFrom, "   ");
  EXPECT_EQ(s.currentPac + s.currentMod + s.currentFlno, "        ");
  EXPECT_EQ(g.ListOfXMLGenerated(), "");
  EXPECT_EQ(g.NoOfXMLGenerated(), 0);
}

TEST(GeneratorProperties, GenerationOptionSetsTheStatusList) {
  ClsXMLGenerator g;
  const Component& s = g.State();
  const std::pair<VbLong, const char*> cases[] = {
      {0, "'G'"}, {1, "'M'"}, {2, "'V'"}, {3, "'V','G'"}, {4, "'V','G','M','E','X','D'"}, {5, "'V','G','M','E','X','D'"}};
  for (const auto& [option, list] : cases) {
    g.XMLGenerationOption(static_cast<EnumGenerateXML>(option));
    EXPECT_EQ(s.statusList, list) << option;
    EXPECT_EQ(s.generationOption, option);
  }
  g.XMLGenerationOption(static_cast<EnumGenerateXML>(7));  // stored, list kept
  EXPECT_EQ(s.generationOption, 7);
  EXPECT_EQ(s.statusList, "'V','G','M','E','X','D'");
}

TEST(GeneratorProperties, ClearXMLDirectoryEmptiesTheFolderAndTrimsThePath) {
  Workspace ws;
  std::filesystem::create_directories(ws.Dir() / "out" / "abcde");
  std::ofstream(ws.Dir() / "out" / "abcde" / "old.XML") << "old";
  std::filesystem::permissions(ws.Dir() / "out" / "abcde" / "old.XML", std::filesystem::perms::owner_read);

  ClsXMLGenerator g;
  g.XMLPath("  " + ws.Path("out") + "  ");
  g.ClearXMLDirectory(kFalse);  // only trims
  EXPECT_EQ(g.State().xmlPath, ws.Path("out"));
  EXPECT_TRUE(std::filesystem::exists(ws.Dir() / "out" / "abcde" / "old.XML"));

  g.ClearXMLDirectory(kTrue);
  EXPECT_TRUE(std::filesystem::is_directory(ws.Dir() / "out"));
  EXPECT_TRUE(std::filesystem::is_empty(ws.Dir() / "out"));
}

TEST(GeneratorProperties, ClearXMLDirectoryCreatesAMissingFolderButNotItsParent) {
  Workspace ws;
  ClsXMLGenerator g;
  g.XMLPath(ws.Path("new"));
  g.ClearXMLDirectory(kTrue);
  EXPECT_TRUE(std::filesystem::is_directory(ws.Dir() / "new"));

  g.XMLPath(ws.Path("missing/new"));
  try {
    g.ClearXMLDirectory(kTrue);
    FAIL() << "a missing parent folder must fail the property";
  } catch (const Raised& raised) {
    EXPECT_EQ(raised.error().number, kErrPathNotFound);
  }
}

TEST(GeneratorProperties, ClearXMLDirectoryWithABlankPathDoesNothing) {
  ClsXMLGenerator g;
  g.XMLPath("   ");
  g.ClearXMLDirectory(kTrue);
  EXPECT_EQ(g.State().xmlPath, "");
}

}  // namespace
}  // namespace tqlm::test
