#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/error.h"
#include "repository/connection.h"
#include "repository/schema.h"
#include "repository/sqlite_backend.h"
#include "support/test_support.h"

namespace tqlm {
namespace {

using test_support::ErrorOf;
using test_support::ReadBytes;
using test_support::TempFolder;

// UTF-8, as fixture scripts are stored.
constexpr const char* kFixtureScript = R"SQL(
INSERT INTO qxmap100 (mprf, vers, rele, cust, sapp) VALUES (1, 'V1', 'R1', 'C1', 'caf)SQL"
                                       "\xC3\xA9"
                                       R"SQL(');
INSERT INTO qxddi140 VALUES ('APP', 'aa', 'bbb', '001'), ('APP', 'aa', 'bbb', '002'), ('APP', 'cc', 'ddd', '003');
INSERT INTO qxddi150 (appl, cpac, cmod, flno, fdnm, fdno) VALUES
  ('APP', 'aa', 'bbb', '001', 'F1', 1), ('APP', 'aa', 'bbb', '001', 'F2', 2), ('APP', 'aa', 'bbb', '002', 'G1', 1);
CREATE TABLE kinds (seq INTEGER, i INTEGER, r REAL, t TEXT, b BLOB, n);
INSERT INTO kinds VALUES (1, 7, 2.0, 'x', X'41420043', NULL), (2, -3, 1.5e-05, '', NULL, NULL);
)SQL";

TEST(RewriteForSqliteTest, JoinsOutsideLiteralsOnly) {
  EXPECT_EQ(RewriteForSqlite("select cpac + cmod + flno from t where x = 'a+b'"),
            "select cpac || cmod || flno from t where x = 'a+b'");
  EXPECT_EQ(RewriteForSqlite("select a+b from t"), "select a||b from t");
  EXPECT_EQ(RewriteForSqlite("select 'it''s+' + a from t"), "select 'it''s+' || a from t");
  EXPECT_EQ(RewriteForSqlite("select '+' + a + '''+''' + b from t where c='+'"),
            "select '+' || a || '''+''' || b from t where c='+'");
  EXPECT_EQ(RewriteForSqlite("select a from t"), "select a from t");
  EXPECT_EQ(RewriteForSqlite(""), "");
}

class SqliteBackendTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CreateRepository(path_, {folder_.Write("fixture.sql", kFixtureScript)});
    repository_.SetConnectionString(path_);
  }

  std::string Scalar(const std::string& statement) {
    Recordset rs = repository_.Open(statement);
    return rs.Field(0).AsText();
  }

  TempFolder folder_;
  std::string path_ = folder_.File("repo.db");
  Repository repository_;
};

TEST_F(SqliteBackendTest, ReadsEveryStorageClass) {
  Recordset rs = repository_.Open("select i, r, t, b, n from kinds order by seq");
  EXPECT_EQ(rs.Field("i").AsNumber(), 7);
  EXPECT_EQ(rs.Field("r").AsText(), "2");
  EXPECT_EQ(rs.Field("t").AsText(), "x");
  EXPECT_EQ(rs.Field("b").AsText(), std::string("AB\0C", 4));
  EXPECT_TRUE(rs.Field("n").IsNull());
  rs.MoveNext();
  EXPECT_EQ(rs.Field("i").AsText(), "-3");
  EXPECT_EQ(rs.Field("r").AsText(), "1.5E-05");
  EXPECT_TRUE(rs.Field("t").IsText());
  EXPECT_EQ(rs.Field("t").AsText(), "");
  EXPECT_TRUE(rs.Field("b").IsNull());
  rs.MoveNext();
  EXPECT_TRUE(rs.Eof());
  EXPECT_FALSE(rs.Bof());
}

TEST_F(SqliteBackendTest, ColumnNamesAsSqliteReportsThem) {
  Recordset star = repository_.Open("select qxmap100.* from qxmap100 where qxmap100.mprf = 1");
  EXPECT_EQ(star.FieldCount(), 12);
  EXPECT_EQ(star.Field("VERS").AsText(), "V1");
  EXPECT_EQ(star.Field("Rele").AsText(), "R1");
  EXPECT_EQ(star.Field(0).AsNumber(), 1);

  Recordset joined = repository_.Open("select cpac + cmod + flno from qxddi140 where flno = '001'");
  EXPECT_EQ(joined.Field(0).AsText(), "aabbb001");
  EXPECT_EQ(Scalar("select 'a+b' + cpac from qxddi140 where flno = '001'"), "a+baa");
}

TEST_F(SqliteBackendTest, TextTravelsAsWindows1252) {
  EXPECT_EQ(Scalar("select sapp from qxmap100"), "caf\xE9");
  EXPECT_EQ(Scalar("select count(*) from qxmap100 where sapp = 'caf\xE9'"), "1");
}

TEST_F(SqliteBackendTest, SchemaColumnsIgnoreTrailingBlanks) {
  EXPECT_EQ(Scalar("select count(*) from qxmap100 where vers = 'V1  '"), "1");
  EXPECT_EQ(Scalar("select count(*) from qxmap100 where 'V1' = vers and rele = 'R1 '"), "1");
}

TEST_F(SqliteBackendTest, NestedRecordsetsReadTogether) {
  std::string seen;
  Recordset tables = repository_.Open("select flno from qxddi140 order by flno");
  while (!tables.Eof()) {
    const std::string flno = tables.Field("flno").AsText();
    seen += flno + ":";
    Recordset fields =
        repository_.Open("select fdnm from qxddi150 where flno = '" + flno + "' order by fdno");
    while (!fields.Eof()) {
      seen += fields.Field(0).AsText() + ",";
      fields.MoveNext();
    }
    seen += ";";
    tables.MoveNext();
  }
  EXPECT_EQ(seen, "001:F1,F2,;002:G1,;003:;");
}

TEST_F(SqliteBackendTest, RepeatedStatementGivesSameRowsEvenWhileFirstIsOpen) {
  const std::string statement = "select fdnm from qxddi150 order by flno, fdno";
  Recordset first = repository_.Open(statement);
  EXPECT_EQ(first.Field(0).AsText(), "F1");
  Recordset second = repository_.Open(statement);
  EXPECT_EQ(second.GetString("", ","), "F1,F2,G1,");
  EXPECT_EQ(first.GetString("", ","), "F1,F2,G1,");
  EXPECT_EQ(repository_.Open(statement).GetString("", ","), "F1,F2,G1,");
  {
    Recordset abandoned = repository_.Open(statement);  // dropped on its first row
  }
  EXPECT_EQ(repository_.Open(statement).GetString("", ","), "F1,F2,G1,");

  // More distinct statements than the cache keeps, then the first again.
  for (int i = 0; i < 80; ++i) EXPECT_EQ(Scalar("select " + std::to_string(i)), std::to_string(i));
  EXPECT_EQ(repository_.Open(statement).GetString("", ","), "F1,F2,G1,");
}

TEST_F(SqliteBackendTest, FailingStatementsRaiseWithSqliteMessage) {
  VbError prepare = ErrorOf([&] { repository_.Open("select * from nosuch"); });
  EXPECT_EQ(prepare.number, kErrRepository);
  EXPECT_EQ(prepare.source, "Repository");
  EXPECT_EQ(prepare.description, "no such table: nosuch");

  // Fails when stepped, not when prepared; twice, as a cached statement must
  // fail the same way.
  for (int round = 0; round < 2; ++round) {
    VbError step = ErrorOf([&] { repository_.Open("select abs(-9223372036854775807 - 1)"); });
    EXPECT_EQ(step.number, kErrRepository);
    EXPECT_EQ(step.description, "integer overflow");
  }
  EXPECT_EQ(Scalar("select count(*) from qxddi140"), "3");
}

TEST_F(SqliteBackendTest, NeverWritesTheRepository) {
  const std::string before = ReadBytes(path_);
  for (const char* statement : {"insert into qxddi140 (appl) values ('X')", "update qxmap100 set vers = 'V2'",
                                "delete from qxddi150", "drop table kinds"}) {
    VbError error = ErrorOf([&] { repository_.Open(statement); });
    EXPECT_EQ(error.number, kErrRepository) << statement;
    EXPECT_FALSE(error.description.empty()) << statement;
  }
  EXPECT_EQ(Scalar("select count(*) from qxddi140"), "3");
  EXPECT_EQ(Scalar("select vers from qxmap100"), "V1");
  // Nor can a statement attach, and so create, another database file.
  const std::string attached = folder_.File("attached.db");
  EXPECT_EQ(ErrorOf([&] { repository_.Open("attach database '" + attached + "' as other"); }).number, kErrRepository);
  EXPECT_FALSE(std::filesystem::exists(attached));
  repository_.Disconnect();
  EXPECT_EQ(ReadBytes(path_), before);
}

TEST_F(SqliteBackendTest, MissingFileRaisesAndCreatesNothing) {
  const std::string missing = folder_.File("missing.db");
  repository_.SetConnectionString(missing);
  VbError error = ErrorOf([&] { repository_.Open("select 1"); });
  EXPECT_EQ(error.number, kErrRepository);
  EXPECT_EQ(error.description, "unable to open database file");
  EXPECT_FALSE(std::filesystem::exists(missing));

  repository_.SetConnectionString("sqlite:" + path_);
  EXPECT_EQ(Scalar("select count(*) from qxddi140"), "3");
}

TEST_F(SqliteBackendTest, OtherBackendsAreNotAvailable) {
  for (const char* connection : {"odbc:Conversion", "DSN=Conversion;UID=sa", "Provider=SQLOLEDB.1;Data Source=srv",
                                 "Persist Security Info=False;provider=x"}) {
    repository_.SetConnectionString(connection);
    VbError error = ErrorOf([&] { repository_.Open("select 1"); });
    EXPECT_EQ(error.number, kErrRepository) << connection;
    EXPECT_NE(error.description.find("not available"), std::string::npos) << connection;
  }
}

TEST_F(SqliteBackendTest, ConnectionOutlivesDisconnectForOpenRecordsets) {
  Recordset rs = repository_.Open("select flno from qxddi140 order by flno");
  repository_.Disconnect();
  rs.MoveNext();
  EXPECT_EQ(rs.Field(0).AsText(), "002");
  EXPECT_EQ(Scalar("select count(*) from qxddi140"), "3");  // opens again
}

TEST_F(SqliteBackendTest, NewConnectionStringSwitchesRepository) {
  EXPECT_EQ(Scalar("select count(*) from qxddi140"), "3");
  const std::string otherPath = folder_.File("other.db");
  CreateRepository(otherPath, {folder_.Write("other.sql", "INSERT INTO qxddi140 (flno) VALUES ('X');")});
  repository_.SetConnectionString(otherPath);
  EXPECT_EQ(Scalar("select count(*) from qxddi140"), "1");
}

}  // namespace
}  // namespace tqlm
