// Complete generator documents against hand-derived files: INFO with
// variables, pre-conditions, source tags, functions and dumps.

#include <gtest/gtest.h>

#include <filesystem>

#include "support.h"

namespace tqlm::test {
namespace {

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
