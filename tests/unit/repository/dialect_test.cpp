// Statement and script text for the servers' dialects, and repositories
// built from scripts.

#include "repository/dialect.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/error.h"
#include "repository/connection.h"
#include "repository/schema.h"
#include "support/test_support.h"

namespace tqlm {
namespace {

using test_support::ErrorOf;
using test_support::ReadBytes;

TEST(Dialect, PlusJoinsTextAsBarsOutsideLiteralsOnly) {
  EXPECT_EQ(JoinTextWithBars("select cpac + cmod + flno from t where x = 'a+b'"),
            "select cpac || cmod || flno from t where x = 'a+b'");
  EXPECT_EQ(JoinTextWithBars("select a+b from t"), "select a||b from t");
  EXPECT_EQ(JoinTextWithBars("select 'it''s+' + a from t"), "select 'it''s+' || a from t");
  EXPECT_EQ(JoinTextWithBars("select '+' + a + '''+''' + b from t where c='+'"),
            "select '+' || a || '''+''' || b from t where c='+'");
  EXPECT_EQ(JoinTextWithBars(""), "");
}

TEST(Dialect, ValuesLeaveAStatementAsParameters) {
  const StatementTemplate numbered = MakeTemplate(
      "select a + '.' + b from t where c = 'it''s' and d in ('x ', '') and 'e' + f = 'g'", Placeholders::kNumbered);
  EXPECT_EQ(numbered.text, "select a || '.' || b from t where c = $1 and d in ($2, $3) and 'e' || f = $4");
  EXPECT_EQ(numbered.values, (std::vector<std::string>{"it's", "x ", "", "g"}));
  EXPECT_TRUE(numbered.templated);
  EXPECT_EQ(MakeTemplate("select * from t where c = 'a' or d = 1", Placeholders::kQuestionMarks).text,
            "select * from t where c = ? or d = 1");
  // Parameters of its own, or a literal that does not close: as written.
  for (const char* written : {"select * from t where c = ? + 'a'", "select $1 + 'a'", "select 'a + b"}) {
    const StatementTemplate t = MakeTemplate(written, Placeholders::kNumbered);
    EXPECT_FALSE(t.templated) << written;
    EXPECT_EQ(t.text, JoinTextWithBars(written));
    EXPECT_TRUE(t.values.empty());
  }
}

TEST(Dialect, ASecondStatementIsFoundOnlyOutsideLiterals) {
  EXPECT_FALSE(HoldsSecondStatement("select 1"));
  EXPECT_FALSE(HoldsSecondStatement("select 1 ; \r\n ;"));
  EXPECT_FALSE(HoldsSecondStatement("select * from t where a = 'x; drop table t'"));
  EXPECT_TRUE(HoldsSecondStatement("select * from t where a = 'x'; drop table t; --'"));
  EXPECT_TRUE(HoldsSecondStatement("select * from t where a = 'it''s'; delete from t"));
}

TEST(Dialect, SqliteScriptsForPostgres) {
  EXPECT_EQ(SqliteScriptForPostgres("CREATE TABLE t (\n  a TEXT COLLATE RTRIM,\n  b INTEGER, c text collate rtrim\n);"),
            "CREATE TABLE t (\n  a bpchar,\n  b INTEGER, c bpchar\n);");
  EXPECT_EQ(SqliteScriptForPostgres("VALUES ('a' || char(13, 10) || 'b' || CHAR (9), varchar(3))"),
            "VALUES ('a' || (chr(13) || chr( 10)) || 'b' || (chr(9)), varchar(3))");
  EXPECT_EQ(SqliteScriptForPostgres("INSERT INTO t VALUES (char(ascii('x'), 10));"),
            "INSERT INTO t VALUES ((chr(ascii('x')) || chr( 10)));");
  // In a table's definition char(n) is a type.
  EXPECT_EQ(SqliteScriptForPostgres("CREATE TABLE t (a CHAR(3)); SELECT char(65)"),
            "CREATE TABLE t (a CHAR(3)); SELECT (chr(65))");
  // Literals and comments stand as written.
  EXPECT_EQ(SqliteScriptForPostgres("/* it's char(1) */ SELECT char(66)"), "/* it's char(1) */ SELECT (chr(66))");
  EXPECT_EQ(SqliteScriptForPostgres("-- char(1) TEXT COLLATE RTRIM\nSELECT 'char(1)', 'it''s TEXT COLLATE RTRIM'"),
            "-- char(1) TEXT COLLATE RTRIM\nSELECT 'char(1)', 'it''s TEXT COLLATE RTRIM'");
}

TEST(CreateRepository, BuildsTheSchemaRunsScriptsInOrderAndRefusesAnExistingFile) {
  test_support::TempFolder folder;
  const std::string path = folder.File("repo.db");
  CreateRepository(path, {folder.Write("a.sql", "INSERT INTO qxlgy115 VALUES ('C', '1', 'one');"),
                          folder.Write("b.sql", "UPDATE qxlgy115 SET oval = oval || '!';")});
  Repository repository;
  repository.SetConnectionString(path);
  EXPECT_EQ(repository.Open("select oval from qxlgy115").Field(0).AsText(), "one!");
  EXPECT_EQ(repository.Open("select count(*) from qxlib100").Field(0).AsText(), "0");
  repository.Disconnect();

  const std::string before = ReadBytes(path);
  EXPECT_EQ(ErrorOf([&] { CreateRepository(path); }).number, kErrFileExists);
  EXPECT_EQ(ReadBytes(path), before);
}

TEST(CreateRepository, AFailingOrMissingScriptLeavesNoFile) {
  test_support::TempFolder folder;
  const std::string path = folder.File("repo.db");
  const std::string good = folder.Write("good.sql", "INSERT INTO qxlgy115 VALUES ('C', '1', 'one');");
  const std::string bad =
      folder.Write("bad.sql", "INSERT INTO qxlgy115 VALUES ('C', '2', 'two');\nINSERT INTO nosuch VALUES (1);");
  VbError error = ErrorOf([&] { CreateRepository(path, {good, bad}); });
  EXPECT_EQ(error.number, kErrRepository);
  EXPECT_NE(error.description.find("bad.sql"), std::string::npos) << error.description;
  EXPECT_NE(error.description.find("no such table: nosuch"), std::string::npos) << error.description;
  // The failing statement is named by its script and line.
  EXPECT_EQ(error.description, bad + " line 2: no such table: nosuch");
  EXPECT_EQ(ErrorOf([&] { CreateRepository(path, {good, folder.File("none.sql")}); }).number, kErrFileNotFound);
  EXPECT_FALSE(std::filesystem::exists(path));
  EXPECT_FALSE(std::filesystem::exists(path + "-journal"));

  CreateRepository(path, {good});  // the name is free again for a good attempt
  EXPECT_TRUE(std::filesystem::exists(path));
}

}  // namespace
}  // namespace tqlm
