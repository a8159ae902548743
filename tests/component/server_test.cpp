// A repository on a database server failing under a run: a wrong password,
// a connection the server drops in mid-run. Run against the test server
// only.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "support.h"

namespace tqlm::test {
namespace {

using test_support::Server;
using test_support::TestServer;

TEST(OnServer, AWrongPasswordIsNamedWithoutThePassword) {
  Workspace ws;
  const std::string database = TestServer::DatabaseOf(ws.Repository({"run_profiles.sql"}));
  std::filesystem::create_directories(ws.Dir() / "xml");
  GeneratorUnderTest run("odbc:" + Server().Odbc(database, "reader", "Wr0ngPw"), 1, ws.Path("xml"));
  run.generator.ListOfMappingObjectsSelected("abcde010");
  EXPECT_EQ(run.generator.GenerateXMLFile(), kFalse);
  const std::string said = run.generator.ErrorDescription();
  EXPECT_EQ(said.rfind("-2147217900-", 0), 0u) << said;
  EXPECT_NE(said.find("password authentication failed for user \"reader\""), std::string::npos) << said;
  EXPECT_EQ((said + run.Log()).find("Wr0ngPw"), std::string::npos);
  EXPECT_TRUE(ListFiles(ws.Dir() / "xml").empty());

  // The right one reads, as a role that may only read.
  GeneratorUnderTest reader("odbc:" + Server().Odbc(database, "reader", "reader-pw"), 1, ws.Path("xml"));
  reader.generator.ListOfMappingObjectsSelected("abcde010");
  EXPECT_EQ(reader.generator.GenerateXMLFile(), kTrue) << reader.Log();
  EXPECT_EQ(reader.generator.XMLSuccess(), 1) << reader.Log();
}

// A connection string without a password leaves it to the driver's own
// conventions: libpq takes PGPASSWORD, or the password file PGPASSFILE names.
TEST(OnServer, APasswordCanStayOutOfTheConnectionString) {
  Workspace ws;
  const std::string database = TestServer::DatabaseOf(ws.Repository({"run_profiles.sql"}));
  std::filesystem::create_directories(ws.Dir() / "xml");
  const std::string connection = "odbc:" + Server().Odbc(database, "reader");
  auto written = [&] {
    GeneratorUnderTest run(connection, 1, ws.Path("xml"));
    run.generator.ListOfMappingObjectsSelected("abcde010");
    return run.generator.GenerateXMLFile() == kTrue ? run.generator.XMLSuccess() : -1;
  };
  EXPECT_EQ(written(), -1);
  ::setenv("PGPASSWORD", "reader-pw", 1);
  EXPECT_EQ(written(), 1);
  ::unsetenv("PGPASSWORD");
  const std::string file = ws.Path("pgpass");
  {
    std::ofstream out(file);
    out << Server().socketDir << ":" << Server().port << ":" << database << ":reader:reader-pw\n";
  }
  std::filesystem::permissions(file, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
  ::setenv("PGPASSFILE", file.c_str(), 1);
  EXPECT_EQ(written(), 1);
  ::unsetenv("PGPASSFILE");
}

// Workers connect on their own threads; where the server lets none of them
// in (a role that may hold one connection), the run builds every document
// itself, as it does with one worker.
TEST(OnServer, WorkersTheServerTurnsAwayLeaveTheirShareToTheRun) {
  Workspace ws;
  const std::string database = TestServer::DatabaseOf(ws.Repository({"run_profiles.sql"}));
  const std::string role = "lone_" + database;
  ASSERT_TRUE(
      Server().Psql(database, "CREATE ROLE " + role + " LOGIN PASSWORD 'lone-pw' CONNECTION LIMIT 1 IN ROLE reader"));
  // The log and every document's name and bytes, from a folder that starts
  // empty each time.
  auto written = [&](int workers) {
    std::filesystem::remove_all(ws.Dir() / "xml");
    std::filesystem::create_directories(ws.Dir() / "xml");
    GeneratorUnderTest run("odbc:" + Server().Odbc(database, role, "lone-pw"), 1, ws.Path("xml"));
    run.generator.SetWorkers(workers);
    run.generator.ListOfMappingObjectsSelected("abcde010,abcde011,abcde012");
    EXPECT_EQ(run.generator.GenerateXMLFile(), kTrue) << run.Log();
    EXPECT_EQ(run.generator.XMLSuccess(), 3) << run.Log();
    std::vector<std::string> out{run.Log()};
    for (const std::string& file : ListFiles(ws.Dir() / "xml")) {
      out.push_back(file);
      out.push_back(ReadFile(ws.Dir() / "xml" / file));
    }
    return out;
  };
  const std::vector<std::string> alone = written(1);
  EXPECT_EQ(alone.size(), 7u);
  EXPECT_EQ(written(2), alone);
  Server().Psql(database, "DROP ROLE " + role);
}

TEST(OnServer, AConnectionDroppedInMidRunEndsTheRunAndChangesNothing) {
  Workspace ws;
  const std::string connection = ws.Repository({"run_profiles.sql"});
  const std::string database = TestServer::DatabaseOf(connection);
  const std::string before = Server().Dump(database);
  std::filesystem::create_directories(ws.Dir() / "xml");
  GeneratorUnderTest run(connection, 1, ws.Path("xml"));
  run.generator.ListOfMappingObjectsSelected("abcde010,abcde011,abcde012");
  // The server ends the session when the second object's first statement
  // is about to run. That statement may have been answered ahead of its
  // turn; the next one sent fails, and the run ends with the failure at the
  // latest at the next object's search (a document's own failure is its
  // error line).
  bool dropped = false;
  run.generator.SetStatementObserver([&](std::string_view statement) {
    if (dropped || statement.find("'011'") == std::string_view::npos) return;
    dropped = true;
    ASSERT_TRUE(Server().Psql("postgres", "SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE datname = '" +
                                              database + "' AND pid <> pg_backend_pid()"));
  });
  EXPECT_EQ(run.generator.GenerateXMLFile(), kFalse);
  const std::string log = run.Log();
  const std::string lost = "-2147217900-The connection to the repository server was lost: ";
  const std::size_t last = log.rfind("\r\n", log.size() - 3) + 2;
  EXPECT_EQ(log.compare(last, lost.size(), lost), 0) << log;
  EXPECT_GT(last, log.find("(2.)")) << log;
  EXPECT_EQ(run.generator.ErrorDescription().rfind(lost, 0), 0u) << run.Log();
  EXPECT_EQ(ListFiles(ws.Dir() / "xml"), std::vector<std::string>{"abcde/xabcde0100.XML"});
  EXPECT_EQ(Server().Dump(database), before);
}

}  // namespace
}  // namespace tqlm::test
