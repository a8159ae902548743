// The property setters of the generator class and their stored forms.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "interface/cls_xml_generator.h"
#include "core/component.h"
#include "platform/error.h"
#include "support.h"

namespace tqlm::test {
namespace {

TEST(GeneratorProperties, RangeBoundsAreStoredLowerCasedInFixedWidth) {
  ClsXMLGenerator g;
  const Component& s = g.State();
  g.TableFrom("7");
  EXPECT_EQ(s.settings.tableFrom, "007");
  g.TableFrom("A1234");
  EXPECT_EQ(s.settings.tableFrom, "234");
  g.PackageFrom("TCX");
  EXPECT_EQ(s.settings.packageFrom, "tc");
  g.PackageTo("T");
  EXPECT_EQ(s.settings.packageTo, "t ");
  g.ModuleFrom("AB");
  EXPECT_EQ(s.settings.moduleFrom, "ab ");
  g.ModuleTo("ABCDE");
  EXPECT_EQ(s.settings.moduleTo, "abc");
  EXPECT_EQ(s.settings.tableTo, "   ");  // never set
  g.TableTo("");
  EXPECT_EQ(s.settings.tableTo, "000");
}

TEST(GeneratorProperties, NewObjectDefaults) {
  ClsXMLGenerator g;
  const Component& s = g.State();
  EXPECT_EQ(s.settings.statusList, "'V','G','E'");
  EXPECT_EQ(s.settings.traverseGeneration, kTrue);
  EXPECT_EQ(s.settings.considerCheckedOutVersions, kFalse);
  EXPECT_EQ(s.settings.splitVorps, kFalse);
  EXPECT_EQ(s.settings.include2GBCheck, kFalse);
  EXPECT_EQ(s.settings.packageFrom, "  ");
  EXPECT_EQ(s.settings.moduleFrom, "   ");
  EXPECT_EQ(s.run.currentPac + s.run.currentMod + s.run.currentFlno, "        ");
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
    EXPECT_EQ(s.settings.statusList, list) << option;
    EXPECT_EQ(s.settings.generationOption, option);
  }
  g.XMLGenerationOption(static_cast<EnumGenerateXML>(7));  // stored, list kept
  EXPECT_EQ(s.settings.generationOption, 7);
  EXPECT_EQ(s.settings.statusList, "'V','G','M','E','X','D'");
}

TEST(GeneratorProperties, ClearXMLDirectoryEmptiesTheFolderAndTrimsThePath) {
  Workspace ws;
  std::filesystem::create_directories(ws.Dir() / "out" / "abcde");
  std::ofstream(ws.Dir() / "out" / "abcde" / "old.XML") << "old";
  std::filesystem::permissions(ws.Dir() / "out" / "abcde" / "old.XML", std::filesystem::perms::owner_read);

  ClsXMLGenerator g;
  g.XMLPath("  " + ws.Path("out") + "  ");
  g.ClearXMLDirectory(kFalse);  // only trims
  EXPECT_EQ(g.State().settings.xmlPath, ws.Path("out"));
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
  EXPECT_EQ(g.State().settings.xmlPath, "");
}

}  // namespace
}  // namespace tqlm::test
