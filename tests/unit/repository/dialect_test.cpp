// Statement values, script text for the servers' dialects, and
// repositories built from scripts.

#include "repository/dialect.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/error.h"
#include "repository/connection.h"
#include "repository/schema.h"
#include "repository/statement.h"
#include "support/test_support.h"

namespace tqlm {
namespace {

using test_support::ErrorOf;
using test_support::ReadBytes;

// A statement shows its values pasted in, as the component's procedures
// build it, and gives a server its shape with the values' places marked:
// no value is ever part of the shape.
TEST(Statement, ShowsItsValuesAndGivesItsShapeWithoutThem) {
  const Statement s = "select a + '+' + b from t where c = " + TextValue("it's; --") + " and d in (" +
                      TextValues({"x ", ""}) + ") and n = " + NumberValue(7) + " and m = " +
                      NumberValue(Value::Text("1.5")) + " and e + f = (select g from u)" + kPlainText;
  EXPECT_EQ(s.Rendered(),
            "select a + '+' + b from t where c = 'it's; --' and d in ('x ','') and n = 7 and m = 1.5 and e + f = "
            "(select g from u)");
  EXPECT_EQ(s.Shape(Dialect{"||", " || ''"}, Places::kQuestionMarks),
            "select a || '+' || b from t where c = ? and d in (?,?) and n = ? and m = ? and e || f = (select g from "
            "u) || ''");
  EXPECT_EQ(s.Shape(Dialect{"+", ""}, Places::kNumbered),
            "select a + '+' + b from t where c = $1 and d in ($2,$3) and n = $4 and m = $5 and e + f = (select g "
            "from u)");
  ASSERT_EQ(s.Values().size(), 5u);
  EXPECT_EQ(s.Values()[0].value.AsText(), "it's; --");
  EXPECT_EQ(s.Values()[3].kind, BoundValue::Kind::kNumber);
}

// Statements that read the same rows have the same key; a rendered text
// does not tell them apart, the key does.
TEST(Statement, KeysTellValuesApartWhereTheirTextDoesNot) {
  const Statement one = "select 1 from t where c in (" + TextValue("a','b") + ")";
  const Statement two = "select 1 from t where c in (" + TextValues({"a", "b"}) + ")";
  EXPECT_EQ(one.Rendered(), two.Rendered());
  EXPECT_NE(one.Key(), two.Key());
  EXPECT_NE(("x = " + TextValue("1")).Key(), ("x = " + NumberValue(1)).Key());
  EXPECT_NE(("x = " + TextValue("")).Key(), ("x = " + NumberValue(Value())).Key());
  EXPECT_EQ(("x = " + TextValue("a") + " and y = " + TextValue("b")).Key(),
            ("x = " + TextValue("a") + " and y = " + TextValue("b")).Key());
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
