// Helpers for tests that run the component over fixture repositories.
#pragma once

#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <tqlm/cls_xml_generator.h>
#include <tqlm/textstream.h>
#include "repository/schema.h"
#include "support/test_server.h"
#include "support/test_support.h"

namespace tqlm::test {

inline constexpr const char* kFixedNow = "2026-01-02 03:04:05";

// Documents the runs of a test build at once: TQLM_TEST_WORKERS (CTest runs
// the component tests again with 4 workers, whose output must be the same),
// else 1.
inline int TestWorkers() {
  const char* workers = std::getenv("TQLM_TEST_WORKERS");
  return workers != nullptr ? std::atoi(workers) : 1;
}

inline std::string FixturePath(const std::string& name) {
  return std::string(TQLM_TEST_DATA_DIR) + "/fixtures/" + name;
}
inline std::string ExpectedPath(const std::string& name) {
  return std::string(TQLM_TEST_DATA_DIR) + "/expected/" + name;
}
inline std::string ReadFile(const std::filesystem::path& path) { return test_support::ReadBytes(path); }

// The names of all files below `dir`, relative, sorted.
inline std::vector<std::string> ListFiles(const std::filesystem::path& dir) {
  std::vector<std::string> names;
  if (!std::filesystem::exists(dir)) return names;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(dir))
    if (entry.is_regular_file()) names.push_back(std::filesystem::relative(entry.path(), dir).generic_string());
  std::sort(names.begin(), names.end());
  return names;
}

// A fresh folder for one test, removed afterwards, that also builds
// fixture repositories.
class Workspace {
 public:
  std::filesystem::path Dir() const { return folder_.Path(); }
  std::string Path(const std::string& name) const { return folder_.File(name); }

  // Creates repository `name` from fixture scripts (names under
  // tests/fixtures) and, optionally, extra SQL text; returns its connection
  // string: a file in the folder, or a new database on the test server.
  std::string Repository(const std::vector<std::string>& fixtures, const std::string& extraSql = {},
                         const std::string& name = "repository.db") const {
    std::vector<std::string> scripts;
    for (const std::string& fixture : fixtures) scripts.push_back(FixturePath(fixture));
    if (!extraSql.empty()) scripts.push_back(folder_.Write(name + ".extra.sql", extraSql));
    const std::string connection =
        test_support::UsesServer() ? "odbc:" + test_support::Server().Odbc(test_support::Server().NewDatabase())
                                   : Path(name);
    CreateRepository(connection, scripts);
    return connection;
  }

  // Changes a repository that Repository() made, as another program would.
  static void Change(const std::string& connection, const std::string& sql) {
    if (test_support::UsesServer()) {
      ASSERT_TRUE(test_support::Server().Psql(test_support::TestServer::DatabaseOf(connection), sql));
      return;
    }
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(connection.c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
  }

 private:
  test_support::TempFolder folder_;
};

// The run's counters as "success S, warnings W, errors E, generated N".
inline std::string Counters(const ClsXMLGenerator& g) {
  return "success " + std::to_string(g.XMLSuccess()) + ", warnings " + std::to_string(g.XMLWarnings()) + ", errors " +
         std::to_string(g.XMLErrors()) + ", generated " + std::to_string(g.NoOfXMLGenerated());
}

// A generator with a fixed clock whose log is collected in a string, and
// the statements it sent.
struct GeneratorUnderTest {
  GeneratorUnderTest(const std::string& repository, VbInteger profile, const std::string& xmlPath) {
    generator.SetClock([] { return std::string(kFixedNow); });
    generator.SetWorkers(TestWorkers());
    generator.SetStatementObserver([this](std::string_view s) { statements.emplace_back(s); });
    generator.ConnectionString(repository);
    generator.MigrationProfile(profile);
    generator.XMLPath(xmlPath);
    generator.LogFileName(log);
  }
  GeneratorUnderTest(const GeneratorUnderTest&) = delete;  // the observer holds `this`
  GeneratorUnderTest& operator=(const GeneratorUnderTest&) = delete;
  const std::string& Log() const { return log->text(); }

  ClsXMLGenerator generator;
  std::shared_ptr<StringTextStream> log = std::make_shared<StringTextStream>();
  std::vector<std::string> statements;
};

// Sets the range from package, module and table `from` to those of `to`
// on either class.
template <class Class>
void SetRange(Class& object, const std::array<const char*, 3>& from, const std::array<const char*, 3>& to) {
  object.PackageFrom(from[0]);
  object.ModuleFrom(from[1]);
  object.TableFrom(from[2]);
  object.PackageTo(to[0]);
  object.ModuleTo(to[1]);
  object.TableTo(to[2]);
}

}  // namespace tqlm::test
