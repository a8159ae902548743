// What every repository backend must do, run through Repository on SQLite
// (and, in the run against the test server, on PostgreSQL), then the checks
// that belong to SQLite alone, and the values read as numbers and flags.

#include "repository/sqlite_backend.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <utility>

#include "platform/codepage.h"
#include "platform/error.h"
#include "repository/connection.h"
#include "repository/schema.h"
#include "repository/statement.h"
#include "repository/value.h"
#include "support/test_server.h"
#include "support/test_support.h"

namespace tqlm {
namespace {

using test_support::ErrorOf;
using test_support::RaisedNumber;
using test_support::ReadBytes;
using test_support::TempFolder;

// How the contract reaches one backend: `create` makes repository `name` in
// `folder` from the schema and `sql` (UTF-8) and gives its connection
// string; `missing` names one that does not exist; `exists` tells whether
// it has come to; `snapshot` gives the stored content; `kinds` makes a table
// of every kind of value in the backend's own words; then words of the
// backend's message for a repository it cannot open.
struct BackendFactory {
  std::string name;
  std::function<std::string(const TempFolder& folder, const std::string& name, const std::string& sql)> create;
  std::function<std::string(const TempFolder& folder)> missing;
  std::function<bool(const std::string& connection)> exists;
  std::function<std::string(const std::string& connection)> snapshot;
  std::string kinds, cannotOpenMessage;
};
void PrintTo(const BackendFactory& factory, std::ostream* out) { *out << factory.name; }

BackendFactory SqliteFactory() {
  return {"Sqlite",
          [](const TempFolder& folder, const std::string& name, const std::string& sql) {
            CreateRepository(folder.File(name + ".db"), {folder.Write(name + ".sql", sql)});
            return folder.File(name + ".db");
          },
          [](const TempFolder& folder) { return folder.File("missing.db"); },
          [](const std::string& connection) { return std::filesystem::exists(connection); },
          [](const std::string& connection) { return ReadBytes(connection); },
          "CREATE TABLE kinds (seq INTEGER, i INTEGER, r REAL, t TEXT, b BLOB, n);"
          "INSERT INTO kinds VALUES (1, 7, 2.0, 'x', X'41420043', NULL), (2, -3, 1.5e-05, '', NULL, NULL);",
          "unable to open database file"};
}

BackendFactory PostgresFactory() {
  using test_support::Server;
  return {"Postgres",
          [](const TempFolder& folder, const std::string& name, const std::string& sql) {
            const std::string connection = "odbc:" + Server().Odbc(Server().NewDatabase());
            CreateRepository(connection, {folder.Write(name + ".sql", sql)});
            return connection;
          },
          [](const TempFolder&) { return "odbc:" + Server().Odbc("nosuchdb"); },
          [](const std::string& connection) {
            return Server().Psql(test_support::TestServer::DatabaseOf(connection), "select 1");
          },
          [](const std::string& connection) { return Server().Dump(test_support::TestServer::DatabaseOf(connection)); },
          "CREATE TABLE kinds (seq INTEGER, i INTEGER, r DOUBLE PRECISION, t TEXT, b BYTEA, n TEXT);"
          "INSERT INTO kinds VALUES (1, 7, 2.0, 'x', '\\x41420043', NULL), (2, -3, 1.5e-05, '', NULL, NULL);",
          "database \"nosuchdb\" does not exist"};
}

// UTF-8, as fixture scripts are stored.
constexpr const char* kFixtureScript = R"SQL(
INSERT INTO qxmap100 (mprf, vers, rele, cust, sapp) VALUES (1, 'V1', 'R1', 'C1', 'caf)SQL"
                                       "\xC3\xA9"
                                       R"SQL(');
INSERT INTO qxddi140 VALUES ('APP', 'aa', 'bbb', '001'), ('APP', 'aa', 'bbb', '002'), ('APP', 'cc', 'ddd', '003');
INSERT INTO qxddi150 (appl, cpac, cmod, flno, fdnm, fdno, cdom) VALUES
  ('APP', 'aa', 'bbb', '001', 'F1', 1, 'aad1'), ('APP', 'aa', 'bbb', '001', 'F2', 2, NULL),
  ('APP', 'aa', 'bbb', '002', 'G1', 1, 'aad2');
INSERT INTO qxddi220 (appl, cpac, cdom, type, conv, adju, leng) VALUES
  ('APP', 'aa', 'd1', 'S', 'U', 'L', 10), ('APP', 'aa', 'd2', 'M', 'L', 'R', 5);
)SQL";

std::string SqliteFixture() { return kFixtureScript + SqliteFactory().kinds; }

// A statement whose whole text the test gives.
Statement Sql(const std::string& text) { return Statement::OwnText(text); }

// The generator's source-domain lookup of a field reference, as it builds it.
Statement SourceDomainLookup(const std::string& reference) {
  return " select type,conv,adju,leng from qxddi220   where  appl = " + TextValue("APP") +
         "  and cpac + cdom = (select cdom from qxddi150 where  appl = " + TextValue("APP") +
         " and cpac+ cmod + flno + '.' + fdnm = " + TextValue(reference) + ")" + kPlainText;
}

class BackendContract : public testing::TestWithParam<BackendFactory> {
 protected:
  void SetUp() override {
    connection_ = GetParam().create(folder_, "repo", kFixtureScript + GetParam().kinds);
    repository_.SetConnectionString(connection_);
  }
  std::string Scalar(const Statement& statement) { return repository_.Open(statement).Field(0).AsText(); }
  std::string Rows(const Statement& statement) { return repository_.Open(statement).GetString("|", ","); }

  TempFolder folder_;
  std::string connection_;
  Repository repository_;
};

TEST_P(BackendContract, ReadsEveryValueKindIncludingNull) {
  // Integer, real, text, blob and Null; empty text is not Null; numbers
  // stay numbers.
  Recordset rs = repository_.Open("select i, r, t, b, n from kinds order by seq");
  EXPECT_FALSE(rs.Field("i").IsText() || rs.Field("r").IsText());
  EXPECT_EQ(rs.GetString("|", ",", "NULL"), std::string("7|2|x|AB\0C|NULL,-3|1.5E-05||NULL|NULL,", 38));
}

TEST_P(BackendContract, RecordsetsStandOnTheFirstRowAndEndAtEofOnly) {
  Recordset empty = repository_.Open("select flno from qxddi140 where flno = 'none'");
  EXPECT_TRUE(empty.Bof() && empty.Eof());
  EXPECT_EQ(empty.FieldCount(), 1);
  EXPECT_EQ(RaisedNumber([&] { empty.Field("flno"); }), kErrNoCurrentRecord);
  EXPECT_EQ(RaisedNumber([&] { empty.MoveNext(); }), kErrNoCurrentRecord);
  EXPECT_EQ(empty.GetString(",", ";"), "");

  Recordset rs = repository_.Open("select fdnm, null as n from qxddi150 where flno = '001' order by fdno");
  EXPECT_FALSE(rs.Bof() || rs.Eof());
  for (auto unknown : {-1, 2}) EXPECT_EQ(RaisedNumber([&] { rs.Field(unknown); }), kErrItemNotFound);
  rs.MoveNext();
  EXPECT_EQ(rs.GetString("\t", "\r\n", "(null)"), "F2\t(null)\r\n");  // from the current row on
  EXPECT_FALSE(rs.Bof());
  EXPECT_TRUE(rs.Eof());
  EXPECT_EQ(rs.GetString("|", ","), "");
  EXPECT_EQ(RaisedNumber([&] { rs.Field(0); }), kErrNoCurrentRecord);
  EXPECT_EQ(RaisedNumber([&] { rs.MoveNext(); }), kErrNoCurrentRecord);
  // An unknown name is reported as such even without a current row.
  EXPECT_EQ(RaisedNumber([&] { rs.Field("fdn"); }), kErrItemNotFound);
}

TEST_P(BackendContract, ColumnNamesAndTheOriginalDialect) {
  Recordset star = repository_.Open("select qxmap100.* from qxmap100 where qxmap100.mprf = 1");
  EXPECT_EQ(star.FieldCount(), 12);
  EXPECT_EQ(star.Field("VERS").AsText(), "V1");
  EXPECT_EQ(star.Field("Rele").AsText(), "R1");
  EXPECT_EQ(star.Field(0).AsNumber(), 1);
  // Names in any order, again and after one that is not there.
  std::string found;
  for (const char* name : {"rele", "mprf", "VeRs", "rele", "rele", "mprf", "vers"}) found += star.Field(name).AsText();
  EXPECT_EQ(found, "R11V1R1R11V1");
  EXPECT_EQ(RaisedNumber([&] { star.Field("ver"); }), kErrItemNotFound);
  EXPECT_EQ(star.Field("rele").AsText() + star.Field("mprf").AsText(), "R11");
  // "+" joins texts, also next to a literal holding "+".
  EXPECT_EQ(Scalar("select cpac + cmod + flno from qxddi140 where flno = '001'"), "aabbb001");
  EXPECT_EQ(Scalar("select 'a+b' + cpac from qxddi140 where flno = '001'"), "a+baa");
  // Schema columns compare without trailing blanks.
  EXPECT_EQ(Scalar("select count(*) from qxmap100 where vers = 'V1  '"), "1");
  EXPECT_EQ(Scalar("select count(*) from qxmap100 where 'V1' = vers and rele = 'R1 '"), "1");
}

TEST_P(BackendContract, NestedAndRepeatedRecordsetsReadTogether) {
  std::string seen;
  for (Recordset tables = repository_.Open("select flno from qxddi140 order by flno"); !tables.Eof();
       tables.MoveNext()) {
    const std::string flno = tables.Field("flno").AsText();
    seen += flno + ":" + Rows("select fdnm from qxddi150 where flno = " + TextValue(flno) + " order by fdno") + ";";
  }
  EXPECT_EQ(seen, "001:F1,F2,;002:G1,;003:;");

  const Statement statement = "select fdnm from qxddi150 order by flno, fdno";
  Recordset first = repository_.Open(statement);
  EXPECT_EQ(first.Field(0).AsText(), "F1");
  EXPECT_EQ(Rows(statement), "F1,F2,G1,");  // while the first is open
  EXPECT_EQ(first.GetString("", ","), "F1,F2,G1,");
  { Recordset abandoned = repository_.Open(statement); }  // dropped on its first row
  // Many other statements in between change nothing.
  for (int i = 0; i < 80; ++i) EXPECT_EQ(Scalar(Sql("select " + std::to_string(i))), std::to_string(i));
  EXPECT_EQ(Rows(statement), "F1,F2,G1,");
}

TEST_P(BackendContract, FailingStatementsRaiseWithTheBackendMessage) {
  VbError error = ErrorOf([&] { repository_.Open("select * from nosuch"); });
  EXPECT_EQ(error.number, -2147217900);
  EXPECT_EQ(error.source, "Repository");
  EXPECT_EQ(error.description, test_support::NoSuchTable("nosuch"));
  EXPECT_EQ(Scalar("select count(*) from qxddi140"), "3");  // the connection goes on
}

TEST_P(BackendContract, NeverWritesTheRepository) {
  const std::string before = GetParam().snapshot(connection_);
  for (const char* statement : {"insert into qxddi140 (appl) values ('X')", "update qxmap100 set vers = 'V2'",
                                "delete from qxddi150", "drop table kinds"}) {
    VbError error = ErrorOf([&] { repository_.Open(Sql(statement)); });
    EXPECT_EQ(error.number, kErrRepository) << statement;
    EXPECT_FALSE(error.description.empty()) << statement;
  }
  EXPECT_EQ(Scalar("select count(*) from qxddi140"), "3");
  EXPECT_EQ(Scalar("select vers from qxmap100"), "V1");
  // Nor can a statement attach, and so create, another database file.
  const std::string attached = folder_.File("attached.db");
  EXPECT_EQ(ErrorOf([&] { repository_.Open("attach database " + TextValue(attached) + " as other"); }).number,
            kErrRepository);
  EXPECT_FALSE(std::filesystem::exists(attached));
  repository_.Disconnect();
  EXPECT_EQ(GetParam().snapshot(connection_), before);
}

// Statements that differ only in their values share one compiled form, run
// with the values of each bound to their places: every run gives the rows
// of the statement as the component shows it, for every kind of value
// (trailing blanks against the schema's blank-padded columns, Null, quotes,
// in-lists, a text joined into an expression, a number given as a row's
// text, the source-domain lookup's plain-text mark); text travels both ways
// as Windows-1252, and "+" in the component's own literals stays.
TEST_P(BackendContract, AStatementShapeRunAgainGivesTheRowsOfItsValues) {
  const std::pair<Statement, std::string> cases[] = {
      {"select fdnm from qxddi150 where appl = " + TextValue("APP  ") + " and cpac = " + TextValue("aa") +
           " and flno in (" + TextValues({"001", "002 "}) + ") order by fdnm",
       "F1,F2,G1,"},
      {"select cpac + cmod + flno + '.' + fdnm from qxddi150 where cpac + cmod + flno + '.' + fdnm = " +
           TextValue("aabbb001.F2"),
       "aabbb001.F2,"},
      {"select 'it''s+' + t, n from kinds where t = " + TextValue("") + " or t = " + TextValue("x") + " order by seq",
       "it's+x|<null>,it's+|<null>,"},
      {"select " + TextValue("ab") + " + '_' + fdnm from qxddi150 where flno = " + TextValue("002"), "ab_G1,"},
      {"select count(*) from kinds where t = " + TextValue("it's") + " or t = " + TextValue("'"), "0,"},
      {"select count(*) from qxddi140 where cpac between " + TextValue("aa") + " and " + TextValue("bz") +
           " and UPPER(cmod) = UPPER(" + TextValue("bbb") + ")",
       "2,"},
      {"select sapp from qxmap100 where vers = " + TextValue("V1") + " and rele = " + TextValue("R1 "), "caf\xE9,"},
      {"select count(*) from qxmap100 where sapp = " + TextValue("caf\xE9"), "1,"},
      {"select count(*) from kinds where n = " + NumberValue(Value()) + " or t = " + TextValue("x"), "1,"},
      {"select count(*) from qxmap100 where mprf = " + NumberValue(Value::Text("1")) + " and mprf in (" +
           NumberValue(Value::Integer(1)) + ")",
       "1,"},
      {SourceDomainLookup("aabbb001.F1"), "S|U|L|10,"},
      {SourceDomainLookup("aabbb002.G1"), "M|L|R|5,"},
      {SourceDomainLookup("aabbb001.F2"), ""},
      {SourceDomainLookup("aabbb001.F9"), ""},
  };
  for (int round = 1; round <= 3; ++round) {
    for (const auto& [statement, rows] : cases)
      EXPECT_EQ(repository_.Open(statement).GetString("|", ",", "<null>"), rows)
          << "run " << round << ": " << statement.Rendered();
  }
  for (const std::string flno : {"001", "002", "003", "it's", "002"})
    EXPECT_EQ(Rows("select fdnm from qxddi150 where flno = " + TextValue(flno) + " order by fdno"),
              flno == "001" ? "F1,F2," : flno == "002" ? "G1," : "");
}

// Statements announced ahead give, each in its turn, the rows or the failure
// of that turn; a hint before the first statement opens nothing.
TEST_P(BackendContract, StatementsAnnouncedAheadAnswerInTheirTurn) {
  const Statement fields = "select fdnm from qxddi150 where flno = " + TextValue("001") + " order by fdno",
                  tables = "select flno from qxddi140 where cpac = " + TextValue("aa") + " order by flno",
                  missing = "select * from nosuch", twice = "select flno from qxddi140 where flno = '003'",
                  quoted = "select count(*) from qxddi140 where flno = " + TextValue("003'; delete from qxddi140; --");
  repository_.Prefetch({fields});
  EXPECT_EQ(repository_.StatementsSent(), 0);
  EXPECT_FALSE(GetParam().exists(GetParam().missing(folder_)));

  for (int round = 1; round <= 2; ++round) {  // the second round runs prepared shapes
    repository_.Connect();
    repository_.Prefetch({fields, missing, tables, twice, twice, quoted});
    EXPECT_EQ(Rows(tables), "001,002,") << round;
    EXPECT_EQ(ErrorOf([&] { repository_.Open(missing); }).description, test_support::NoSuchTable("nosuch"));
    EXPECT_EQ(Rows(fields), "F1,F2,") << round;
    EXPECT_EQ(Rows(twice), "003,") << round;
    EXPECT_EQ(Rows(twice), "003,") << round;
    EXPECT_EQ(Scalar(quoted), "0") << round;
    EXPECT_EQ(Scalar("select count(*) from qxddi140"), "3");
  }
  // Rows read ahead wait for their turn past a later exchange.
  repository_.Prefetch({tables});
  repository_.Prefetch({fields, tables});
  EXPECT_EQ(Rows(fields), "F1,F2,");
  EXPECT_EQ(Rows(tables), "001,002,");
  EXPECT_EQ(repository_.StatementsSent(), 16);
  EXPECT_EQ(repository_.Failures(), 2);
}

TEST_P(BackendContract, MissingRepositoryRaisesAndCreatesNothing) {
  const std::string missing = GetParam().missing(folder_);
  repository_.SetConnectionString(missing);
  VbError error = ErrorOf([&] { repository_.Open("select 1"); });
  EXPECT_EQ(error.number, kErrRepository);
  EXPECT_NE(error.description.find(GetParam().cannotOpenMessage), std::string::npos) << error.description;
  EXPECT_FALSE(GetParam().exists(missing));
}

TEST_P(BackendContract, ConnectionOutlivesDisconnectForOpenRecordsets) {
  Recordset rs = repository_.Open("select flno from qxddi140 order by flno");
  repository_.Disconnect();
  rs.MoveNext();
  EXPECT_EQ(rs.Field(0).AsText(), "002");
  EXPECT_EQ(Scalar("select count(*) from qxddi140"), "3");  // opens again
}

// One backend per run, chosen by the environment, under one name: the test
// runner lists the tests once, without a server, and runs the same names
// against the server.
INSTANTIATE_TEST_SUITE_P(Backends, BackendContract,
                         testing::Values(test_support::UsesServer() ? PostgresFactory() : SqliteFactory()));

// Rows read ahead belong to the snapshot they were read in: a failure among
// them leaves the run on its snapshot, and a failure in its turn, which ends
// the snapshot, lets nothing read ahead through.
TEST(OnServer, RowsReadAheadKeepToTheirSnapshot) {
  TempFolder folder;
  const std::string connection = PostgresFactory().create(folder, "ahead", kFixtureScript);
  const std::string database = test_support::TestServer::DatabaseOf(connection);
  const Statement vers = "select vers from qxmap100 where mprf = " + NumberValue(1), rele = "select rele from qxmap100";
  Repository repository;
  repository.SetConnectionString(connection);
  EXPECT_EQ(repository.Open(vers).Field(0).AsText(), "V1");
  ASSERT_TRUE(test_support::Server().Psql(database, "UPDATE qxmap100 SET vers = 'V2', rele = 'R2'"));
  repository.Prefetch({rele, "select * from nosuch", vers});
  EXPECT_EQ(repository.Open(rele).Field(0).AsText(), "R1");
  EXPECT_EQ(repository.Open(vers).Field(0).AsText(), "V1");

  // Rows read ahead wait past later exchanges, but not past their snapshot.
  repository.Prefetch({vers});
  repository.Prefetch({rele});
  EXPECT_EQ(RaisedNumber([&] { repository.Open("select * from nosuch"); }), kErrRepository);
  EXPECT_EQ(repository.Open(vers).Field(0).AsText(), "V2");
  EXPECT_EQ(repository.Open(rele).Field(0).AsText(), "R2");
}

const Statement kVersion = "select vers from qxmap100 where mprf = 1";

// The version a connection taken from `run`'s companions reads.
std::string CompanionReads(Repository& run, const std::string& connection) {
  std::vector<Companion> companions = run.Companions(1);
  if (companions.empty()) return "no companion";
  Repository worker;
  worker.SetConnectionString(connection);
  worker.Adopt(companions.front().Open());
  return worker.Open(kVersion).Field(0).AsText();
}

// On the test server only: companions read the run's snapshot, whatever was
// written since.
TEST(OnServer, CompanionsReadTheRunsSnapshot) {
  TempFolder folder;
  const std::string connection = PostgresFactory().create(folder, "snap", kFixtureScript);
  Repository run, later;
  for (Repository* r : {&run, &later}) r->SetConnectionString(connection);
  EXPECT_EQ(run.Open(kVersion).Field(0).AsText(), "V1");
  ASSERT_TRUE(test_support::Server().Psql(test_support::TestServer::DatabaseOf(connection),
                                          "UPDATE qxmap100 SET vers = 'V2'"));
  EXPECT_EQ(CompanionReads(run, connection), "V1");
  EXPECT_EQ(run.Open(kVersion).Field(0).AsText(), "V1");
  EXPECT_EQ(later.Open(kVersion).Field(0).AsText(), "V2");
}

// The server ends a statement that runs past the connection's timeout; the
// connection goes on.
TEST(OnServer, AStatementRunningPastTheTimeoutIsEnded) {
  TempFolder folder;
  Repository repository;
  repository.SetConnectionString(PostgresFactory().create(folder, "slow", kFixtureScript));
  repository.SetStatementTimeout(1);
  const VbError error = ErrorOf([&] { repository.Open("select pg_sleep(30)"); });
  EXPECT_EQ(error.number, kErrRepository);
  EXPECT_NE(error.description.find("canceling statement due to statement timeout"), std::string::npos)
      << error.description;
  EXPECT_EQ(repository.Open("select count(*) from qxddi140").Field(0).AsText(), "3");
}

// Decimal columns keep their value: whole numbers that fit stay whole, the
// rest are reals, never cut to the largest integer.
TEST(OnServer, DecimalsAreReadAsTheServerWritesThem) {
  TempFolder folder;
  Repository repository;
  repository.SetConnectionString(PostgresFactory().create(folder, "dec", kFixtureScript));
  Recordset rs = repository.Open(
      "select 42::numeric(10,0) as w, 12345678901234567890123::numeric(38,0) as big, 1.5::numeric(5,2) as r");
  EXPECT_FALSE(rs.Field("w").IsText());
  EXPECT_EQ(rs.GetString("|", ""), "42|1.23456789012346E+22|1.5");
}

// A data source of odbc.ini names the server as well as a driver string.
TEST(OnServer, ADataSourceNameReachesTheServer) {
  TempFolder folder;
  const std::string connection = PostgresFactory().create(folder, "dsn", kFixtureScript);
  const test_support::TestServer& server = test_support::Server();
  const std::string ini = folder.Write("odbc.ini", "[tqlmtest]\nDriver = PostgreSQL Unicode\nServername = " +
                                                       server.socketDir + "\nPort = " + server.port + "\nDatabase = " +
                                                       test_support::TestServer::DatabaseOf(connection) + "\n");
  ::setenv("ODBCINI", ini.c_str(), 1);
  Repository repository;
  repository.SetConnectionString("odbc:DSN=tqlmtest;Username=tqlm");
  const std::string sapp = repository.Open("select sapp from qxmap100").Field(0).AsText();
  repository.Disconnect();
  ::unsetenv("ODBCINI");
  EXPECT_EQ(sapp, "caf\xE9");
}

// SQLite alone: statements that fail only when stepped.
TEST(SqliteOnly, StepFailures) {
  TempFolder folder;
  Repository repository;
  repository.SetConnectionString("sqlite:" + SqliteFactory().create(folder, "repo", SqliteFixture()));
  // Fails when stepped, not when prepared; twice, as a cached statement must
  // fail the same way.
  for (int round = 0; round < 2; ++round) {
    VbError step = ErrorOf([&] { repository.Open("select abs(-9223372036854775807 - 1)"); });
    EXPECT_EQ(step.number, kErrRepository);
    EXPECT_EQ(step.description, "integer overflow");
  }
  EXPECT_EQ(repository.Open("select count(*) from qxddi140").Field(0).AsText(), "3");
  // A text with a second statement after the first (which no shape of the
  // component holds) runs neither.
  EXPECT_EQ(ErrorOf([&] { repository.Open("select 1; select 2"); }).description,
            "A statement may not hold a second statement.");
  EXPECT_EQ(repository.Open("select 1 ; ").Field(0).AsText(), "1");
}

// Commits `sql` to a SQLite file as another program would, without waiting
// for a reader; SQLite's result code.
int Commit(const std::string& path, const std::string& sql) {
  sqlite3* db = nullptr;
  int rc = sqlite3_open(path.c_str(), &db);
  if (rc == SQLITE_OK) rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
  sqlite3_close(db);
  return rc;
}

// A SQLite run and its companions hold one snapshot from their first read:
// in WAL mode a writer commits meanwhile and only a later connection sees
// it; in rollback mode the writer waits for the run to end.
TEST(SqliteOnly, ARunAndItsCompanionsReadOneSnapshotInEitherJournalMode) {
  for (const bool wal : {true, false}) {
    TempFolder folder;
    const std::string path = SqliteFactory().create(folder, "snap", SqliteFixture());
    if (wal) {
      ASSERT_EQ(Commit(path, "PRAGMA journal_mode=WAL"), SQLITE_OK);
    }
    Repository run, later;
    for (Repository* r : {&run, &later}) r->SetConnectionString(path);
    run.ShareSnapshot(2);
    EXPECT_EQ(run.Open(kVersion).Field(0).AsText(), "V1");
    EXPECT_EQ(Commit(path, "UPDATE qxmap100 SET vers = 'V2'"), wal ? SQLITE_OK : SQLITE_BUSY) << wal;
    EXPECT_EQ(CompanionReads(run, path), "V1") << wal;
    EXPECT_EQ(CompanionReads(run, path), "V1") << wal;
    EXPECT_EQ(CompanionReads(run, path), "no companion") << wal;  // two were opened
    EXPECT_EQ(run.Open(kVersion).Field(0).AsText(), "V1");
    EXPECT_EQ(later.Open(kVersion).Field(0).AsText(), wal ? "V2" : "V1") << wal;
    later.Disconnect();
    run.Disconnect();
    EXPECT_EQ(Commit(path, "UPDATE qxmap100 SET vers = 'V3'"), SQLITE_OK);
  }
}

// A remembered lookup reads the repository once per connection: the same
// text gives the same rows (names, Nulls, an empty result) from memory, the
// observer still sees every statement, and a new connection reads afresh.
TEST(SqliteOnly, RememberedLookupsAreReadOncePerConnection) {
  TempFolder folder;
  const std::string path = SqliteFactory().create(folder, "memo", SqliteFixture());
  Repository repository;
  repository.SetConnectionString(path);
  long observed = 0;
  repository.SetStatementObserver([&observed](std::string_view) { ++observed; });
  auto rows = [&](const Statement& statement) {
    Recordset rs = repository.OpenRemembered(statement);
    std::string text = std::to_string(rs.FieldCount()) + (rs.Bof() ? "B" : "") + (rs.Eof() ? "E" : "") + ":";
    if (rs.HasRow()) text += rs.Field("T").AsText() + "/" + (rs.Field("n").IsNull() ? "null" : "?") + ";";
    return text + rs.GetString("|", ",", "<null>");
  };
  const Statement kinds = "select t, n from kinds order by seq", none = "select t, n from kinds where seq = 9";
  EXPECT_EQ(rows(kinds), "2:x/null;x|<null>,|<null>,");
  EXPECT_EQ(rows(none), "2BE:");
  EXPECT_EQ(rows(kinds), "2:x/null;x|<null>,|<null>,");
  EXPECT_EQ(rows(none), "2BE:");
  EXPECT_EQ(observed, 4);
  EXPECT_EQ(repository.StatementsSent(), 2);
  EXPECT_EQ(ErrorOf([&] { repository.OpenRemembered("select * from nosuch"); }).number, kErrRepository);

  repository.Disconnect();
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db, "UPDATE kinds SET t = 'y' WHERE seq = 1", nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(db);
  EXPECT_EQ(rows(kinds), "2:y/null;y|<null>,|<null>,");
  EXPECT_EQ(repository.StatementsSent(), 4);

  // Another repository under the same text: its own rows.
  repository.SetConnectionString(SqliteFactory().create(
      folder, "other", "CREATE TABLE kinds (seq INTEGER, t TEXT, n); INSERT INTO kinds VALUES (1, 'z', 5);"));
  EXPECT_EQ(rows(kinds), "2:z/?;z|5,");
}

// The values a backend gives, as numbers and as flags.
TEST(ValueTest, NumbersAndFlagsOfEachKind) {
  EXPECT_EQ(Value().AsNumber(), 0);
  EXPECT_EQ(Value::Text(" 12.5 ").AsNumber(), 12.5);
  const std::pair<Value, bool> flags[] = {
      {Value(), false},          {Value::Integer(0), false},  {Value::Integer(2), true},
      {Value::Real(0.0), false}, {Value::Real(0.5), true},    {Value::Text("0"), false},
      {Value::Text("-1"), true}, {Value::Text("TRUE"), true}, {Value::Text("FaLsE"), false}};
  for (const auto& [value, flag] : flags) EXPECT_EQ(value.AsFlag(), flag) << value.AsText();
  for (const char* word : {"yes", "", "truex"}) {
    EXPECT_EQ(RaisedNumber([&] { Value::Text(word).AsFlag(); }), kErrTypeMismatch) << word;
    EXPECT_EQ(RaisedNumber([&] { Value::Text(word).AsNumber(); }), kErrTypeMismatch) << word;
  }
}

}  // namespace
}  // namespace tqlm
