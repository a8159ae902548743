// The property setters of the generator class and their stored forms.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/component.h"
#include <tqlm/cls_xml_generator.h>
#include "platform/error.h"
#include "support.h"

namespace tqlm::test {
namespace {

TEST(GeneratorProperties, RangeBoundsAreStoredLowerCasedInFixedWidth) {
  ClsXMLGenerator g;
  const auto& r = detail::StateOf(g).settings;
  g.PackageFrom("TCX");
  g.ModuleFrom("AB");
  g.TableFrom("7");
  g.PackageTo("T");
  g.ModuleTo("ABCDE");
  EXPECT_EQ(r.packageFrom + "|" + r.moduleFrom + "|" + r.tableFrom + "|" + r.packageTo + "|" + r.moduleTo + "|" +
                r.tableTo,
            "tc|ab |007|t |abc|   ");  // the table bound never set stays blank
  g.TableFrom("A1234");
  g.TableTo("");
  EXPECT_EQ(r.tableFrom + "|" + r.tableTo, "234|000");
}

TEST(GeneratorProperties, ClearXMLDirectoryEmptiesOrCreatesTheFolderButNotItsParent) {
  Workspace ws;
  std::filesystem::create_directories(ws.Dir() / "out" / "abcde");
  std::ofstream(ws.Dir() / "out" / "abcde" / "old.XML") << "old";
  std::filesystem::permissions(ws.Dir() / "out" / "abcde" / "old.XML", std::filesystem::perms::owner_read);

  ClsXMLGenerator g;
  g.XMLPath("  " + ws.Path("out") + "  ");
  g.ClearXMLDirectory(kFalse);  // only trims
  EXPECT_EQ(detail::StateOf(g).settings.xmlPath, ws.Path("out"));
  EXPECT_TRUE(std::filesystem::exists(ws.Dir() / "out" / "abcde" / "old.XML"));
  g.ClearXMLDirectory(kTrue);
  EXPECT_TRUE(std::filesystem::is_directory(ws.Dir() / "out"));
  EXPECT_TRUE(std::filesystem::is_empty(ws.Dir() / "out"));

  g.XMLPath(ws.Path("new"));
  g.ClearXMLDirectory(kTrue);
  EXPECT_TRUE(std::filesystem::is_directory(ws.Dir() / "new"));
  g.XMLPath(ws.Path("missing/new"));
  EXPECT_EQ(test_support::RaisedNumber([&] { g.ClearXMLDirectory(kTrue); }), kErrPathNotFound);
  EXPECT_FALSE(std::filesystem::exists(ws.Dir() / "missing"));

  g.XMLPath("   ");  // a blank path: nothing to clear
  g.ClearXMLDirectory(kTrue);
  EXPECT_EQ(detail::StateOf(g).settings.xmlPath, "");
}

}  // namespace
}  // namespace tqlm::test
