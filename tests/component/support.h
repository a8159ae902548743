// Helpers for tests that run the component over fixture repositories.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "interface/cls_xml_generator.h"
#include "platform/textstream.h"
#include "support/test_support.h"

namespace tqlm::test {

inline constexpr const char* kFixedNow = "2026-01-02 03:04:05";

// A fresh folder for one test, removed afterwards, that also builds
// fixture repositories.
class Workspace {
 public:
  std::filesystem::path Dir() const { return folder_.Path(); }
  std::string Path(const std::string& name) const { return folder_.File(name); }

  // Creates repository `name` from fixture scripts (names under
  // tests/fixtures) and, optionally, extra SQL text; returns its path.
  std::string Repository(const std::vector<std::string>& fixtures, const std::string& extraSql = {},
                         const std::string& name = "repository.db") const;

 private:
  test_support::TempFolder folder_;
};

std::string FixturePath(const std::string& name);
std::string ExpectedPath(const std::string& name);
inline std::string ReadFile(const std::filesystem::path& path) { return test_support::ReadBytes(path); }
// The names of all files below `dir`, relative, sorted.
std::vector<std::string> ListFiles(const std::filesystem::path& dir);

// A generator with a fixed clock whose log is collected in a string, and
// the statements it sent.
struct GeneratorUnderTest {
  GeneratorUnderTest(const std::string& repository, VbInteger profile, const std::string& xmlPath);
  GeneratorUnderTest(const GeneratorUnderTest&) = delete;  // the observer holds `this`
  GeneratorUnderTest& operator=(const GeneratorUnderTest&) = delete;
  const std::string& Log() const { return log->text(); }

  ClsXMLGenerator generator;
  std::shared_ptr<StringTextStream> log = std::make_shared<StringTextStream>();
  std::vector<std::string> statements;
};

}  // namespace tqlm::test
