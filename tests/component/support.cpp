#include "support.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "repository/schema.h"

namespace tqlm::test {

namespace fs = std::filesystem;

std::string Workspace::Repository(const std::vector<std::string>& fixtures, const std::string& extraSql,
                                  const std::string& name) const {
  std::vector<std::string> scripts;
  for (const std::string& fixture : fixtures) scripts.push_back(FixturePath(fixture));
  if (!extraSql.empty()) scripts.push_back(folder_.Write(name + ".extra.sql", extraSql));
  std::string path = Path(name);
  CreateRepository(path, scripts);
  return path;
}

std::string FixturePath(const std::string& name) { return std::string(TQLM_TEST_DATA_DIR) + "/fixtures/" + name; }
std::string ExpectedPath(const std::string& name) { return std::string(TQLM_TEST_DATA_DIR) + "/expected/" + name; }

std::vector<std::string> ListFiles(const fs::path& dir) {
  std::vector<std::string> names;
  if (!fs::exists(dir)) return names;
  for (const auto& entry : fs::recursive_directory_iterator(dir))
    if (entry.is_regular_file()) names.push_back(fs::relative(entry.path(), dir).generic_string());
  std::sort(names.begin(), names.end());
  return names;
}

GeneratorUnderTest::GeneratorUnderTest(const std::string& repository, VbInteger profile,
                                       const std::string& xmlPath) {
  generator.SetClock([] { return std::string(kFixedNow); });
  generator.SetStatementObserver([this](std::string_view s) { statements.emplace_back(s); });
  generator.ConnectionString(repository);
  generator.MigrationProfile(profile);
  generator.XMLPath(xmlPath);
  generator.LogFileName(log);
}

}  // namespace tqlm::test
