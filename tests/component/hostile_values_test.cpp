// Repository values and method arguments that hold SQL (quotes, comments,
// semicolons, transaction control, server functions) are only values: a run
// over them reads what the values select and nothing else, writes nothing to
// the repository and ends as the same run does with every quote replaced by
// another character. Runs on SQLite and, in the run against the test
// server, on PostgreSQL.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include <tqlm/cls_xml_legacy.h>
#include "support.h"

namespace tqlm::test {
namespace {

// Attacks a value pasted into a statement would carry out.
const char* const kHostileValues[] = {
    "SALES' -- '\n; COMMIT; BEGIN READ WRITE; DELETE FROM canary; COMMIT; BEGIN; select 1 where 'a' = 'a",
    "x' or '1'='1",
    "x' and pg_sleep(3) is not null and 'a'='a",
    "x' and lo_from_bytea(0, 'x') is not null and 'a'='a",
    "x' /* */ union select cpac, cmod, flno from qxddi140 --",
    "x'; COPY (select 1) TO PROGRAM 'touch /tmp/tqlm-hostile-ran'; --",
    "x\\'; drop table canary; --",
    "x'); delete from canary; select ('",
    // What a driver looks for in a statement's text: its places and its
    // escapes, and the server's other quotings.
    "x?' || ? || '{fn database()}{d '2001-01-01'}{oj x} $1 $$ E'\\' --",
};

// What a value becomes in the run it is compared with.
std::string Unquoted(std::string text) {
  for (char& c : text)
    if (c == '\'') c = '#';
  return text;
}

// `text` as an SQL literal of a fixture script.
std::string Literal(const std::string& text) {
  std::string out = "'";
  for (char c : text) out.append(c == '\'' ? 2 : 1, c);
  return out + "'";
}

// A profile whose applications, customer, one table code, one field name
// (a rule key) and one source-table list are built from `value`; every other
// object is plain. A canary table stands beside the repository's.
std::string HostileProfile(const std::string& value) {
  const std::string s = Literal("S" + value), t = Literal("T" + value), cust = Literal(value.substr(0, 1) + "'b"),
                    field = Literal("nm" + value), list = Literal("xysrc001," + value), pac = Literal("a'"),
                    mod = Literal("b'c"), num = Literal("1'1");
  const std::string keys = "1, '0100', '01', " + cust;
  return "CREATE TABLE canary (n INTEGER); INSERT INTO canary VALUES (1), (2);\n"
         "INSERT INTO qxmap100 (mprf, sapp, tapp, vers, rele, cust, verf, relf, cusf, deph, scme) VALUES (1, " +
         s + ", " + t + ", '0100', '01', " + cust + ", '', '', '', 1, 'N');\n" +
         "INSERT INTO qxddi100 (appl, extn) VALUES (" + s + ", 1), (" + t + ", 1);\n" +
         "INSERT INTO qxddi140 (appl, cpac, cmod, flno) VALUES (" + t + ", 'ab', 'cus', '010'), (" + t +
         ", 'ab', 'cus', '020'), (" + t + ", 'ab', 'cus', '030'), (" + t + ", " + pac + ", " + mod + ", " + num +
         ");\n" +
         "INSERT INTO qxddi150 (appl, cpac, cmod, flno, fdnm, fdno, cdom, iniv, dept, mand, comb) VALUES (" + t +
         ", 'ab', 'cus', '010', 'custno', 1, 'abnum', '0', 0, 'Y', 'N'), (" + t +
         ", 'ab', 'cus', '010', 'name', 2, 'abname', '', 0, 'N', 'N'), (" + t + ", 'ab', 'cus', '020', " + field +
         ", 1, 'abname', '', 0, 'N', 'N'), (" + t + ", 'ab', 'cus', '030', 'name', 1, 'abname', '', 0, 'N', 'N'), (" +
         t + ", " + pac + ", " + mod + ", " + num + ", 'name', 1, 'abname', '', 0, 'N', 'N'), (" + s +
         ", 'xy', 'src', '001', 'kdnr', 1, 'xynum', '', 0, 'N', 'N'), (" + s + ", 'xy', 'src', '001', " + field +
         ", 2, 'xyname', '', 0, 'N', 'N');\n" +
         "INSERT INTO qxddi220 (appl, cpac, cdom, type, leng, diga, adju, conv, digb) VALUES (" + t +
         ", 'ab', 'num', 'L', 8, 0, 'R', ' ', 8), (" + t + ", 'ab', 'name', 'S', 40, 0, 'L', 'U', 0), (" + s +
         ", 'xy', 'num', 'L', 8, 0, 'R', ' ', 8), (" + s + ", 'xy', 'name', 'S', 12, 0, 'R', 'L', 0);\n" +
         "INSERT INTO qxmap120 (mprf, vers, rele, cust, tcpac, tcmod, tflno, stat, stbl, prtx, isms) VALUES (" + keys +
         ", 'ab', 'cus', '010', 'V', 'xysrc001', 'migrate xysrc001', 0), (" + keys +
         ", 'ab', 'cus', '020', 'V', 'xysrc001', 'migrate xysrc001', 0), (" + keys + ", 'ab', 'cus', '030', 'V', " +
         list + ", 'migrate xysrc001', 0), (" + keys + ", " + pac + ", " + mod + ", " + num +
         ", 'V', 'xysrc001', 'migrate xysrc001', 0);\n" +
         "INSERT INTO qxmap130 (mprf, vers, rele, cust, tcpac, tcmod, tflno, scpac, scmod, sflno, icod, qury) "
         "VALUES (" + keys + ", 'ab', 'cus', '010', 'xy', 'src', '001', 'S', 'select * from xysrc001'), (" + keys +
         ", 'ab', 'cus', '020', 'xy', 'src', '001', 'S', 'select * from xysrc001'), (" + keys +
         ", 'ab', 'cus', '030', 'xy', 'src', '001', 'S', 'select * from xysrc001');\n" +
         "INSERT INTO qxmap140 (mprf, vers, rele, cust, tcpac, tcmod, tflno, fdnm, mrul, type, dnum) VALUES (" + keys +
         ", 'ab', 'cus', '010', 'custno', 'xysrc001.kdnr', 0, 1), (" + keys +
         ", 'ab', 'cus', '010', 'name', " + Literal("xysrc001.nm" + value) + ", 0, 1), (" + keys +
         ", 'ab', 'cus', '020', " + field + ", 'xysrc001.kdnr', 0, 1), (" + keys +
         ", 'ab', 'cus', '030', 'name', 'xysrc001.kdnr', 0, 1);\n";
}

// What a run did: its result, counters and log, and every file it wrote
// with its bytes, each quote replaced as in the compared run.
struct Outcome {
  std::string said;
  std::vector<std::string> files;
  bool operator==(const Outcome&) const = default;
};

class HostileValues : public testing::TestWithParam<const char*> {
 protected:
  Outcome Generate(const std::string& connection, const std::string& folder) {
    std::filesystem::create_directories(ws_.Dir() / folder);
    GeneratorUnderTest run(connection, 1, ws_.Path(folder));
    run.generator.PackageFrom("a");
    run.generator.PackageTo("zz");
    run.generator.ModuleFrom("a");
    run.generator.ModuleTo("zzz");
    run.generator.TableFrom("0");
    run.generator.TableTo("999");
    const VbBoolean result = run.generator.GenerateXMLFile();
    Outcome outcome;
    outcome.said = std::to_string(result) + " " + Counters(run.generator) + " " +
                   run.generator.ListOfXMLGenerated() + "\n" + run.generator.ErrorDescription() + "\n" + run.Log();
    for (const std::string& name : ListFiles(ws_.Dir() / folder))
      outcome.files.push_back(name + ":" + ReadFile(ws_.Dir() / folder / name));
    outcome.said = Unquoted(outcome.said);
    for (std::string& file : outcome.files) file = Unquoted(file);
    written_ = run.generator.XMLSuccess();
    // A server reads as many statements ahead for either: no exchange of
    // the hostile run failed and left its statements to their turns.
    outcome.said += "\nread ahead: " + std::to_string(run.generator.StatementsReadAhead());
    if (test_support::UsesServer()) {
      EXPECT_GT(run.generator.StatementsReadAhead(), 0);
    }
    return outcome;
  }

  // What the repository holds, to prove that nothing changed it.
  static std::string Holdings(const std::string& connection) {
    if (!test_support::UsesServer()) return ReadFile(connection);
    const std::string database = test_support::TestServer::DatabaseOf(connection);
    return test_support::Server().Dump(database) +
           test_support::Server().Output(
               "psql -X -A -t -c 'select count(*) from pg_largeobject_metadata' -c '\\dt'", database);
  }

  Workspace ws_;
  int written_ = 0;
};

TEST_P(HostileValues, AreReadAsValuesAndChangeNothing) {
  const std::string value = GetParam();
  const std::string hostile = ws_.Repository({}, HostileProfile(value), "hostile.db");
  const std::string plain = ws_.Repository({}, HostileProfile(Unquoted(value)), "plain.db");
  const std::string before = Holdings(hostile);

  const Outcome outcome = Generate(hostile, "hostile");
  EXPECT_GE(written_, 2) << outcome.said;
  EXPECT_EQ(outcome, Generate(plain, "plain")) << outcome.said;

  // The public methods take such values as arguments.
  ClsXMLGenerator generator;
  generator.ConnectionString(hostile);
  EXPECT_EQ(generator.RowSizeofTable(value, "abcus010"), 1);
  EXPECT_EQ(generator.RowSizeofTable("T" + value, "abcus010"), 48);
  std::string stored;
  EXPECT_EQ(generator.get_split_fields("S" + value, value, value, stored), "");
  ClsXMLLegacy legacy;
  legacy.ConnectionString(hostile);
  EXPECT_EQ(legacy.GetConnStr(value, value), "");

  EXPECT_EQ(Holdings(hostile), before);
  EXPECT_FALSE(std::filesystem::exists("/tmp/tqlm-hostile-ran"));
}

INSTANTIATE_TEST_SUITE_P(Each, HostileValues, testing::ValuesIn(kHostileValues));

}  // namespace
}  // namespace tqlm::test
