// The record-size estimate of a data-dictionary table.

#include <gtest/gtest.h>

#include <tuple>

#include <tqlm/cls_xml_generator.h>
#include "platform/error.h"
#include "support.h"

namespace tqlm::test {
namespace {

const char* const kTables = R"SQL(
INSERT INTO qxddi220 (appl, cpac, cdom, type, leng, diga, digb) VALUES
  ('TRG', 'ab', 'name', 'S', 30, 0, 0),
  ('TRG', 'ab', 'date', 'K', 22, NULL, NULL),
  ('TRG', 'ab', 'memo', 'M', 100, 0, 0),
  ('TRG', 'ab', 'huge', 'M', 10000, 0, 0),
  ('TRG', 'ab', 'amt', 'D', 12, 2, 10),
  ('TRG', 'ab', 'odd', 'Q', 7, 0, 0),
  ('TRG', 'ab', 'zero', '0', 5, 0, 0),
  ('TRG', 'ab', 'big', 'S', 32767, 0, 0);
INSERT INTO qxddi150 (appl, cpac, cmod, flno, fdnm, fdno, cdom) VALUES
  ('TRG', 'ab', 'xyz', '001', 'f1', 1, 'abname'),
  ('TRG', 'ab', 'xyz', '001', 'f2', 2, 'abdate'),
  ('TRG', 'ab', 'xyz', '002', 'f1', 1, 'abmemo'),
  ('TRG', 'ab', 'xyz', '003', 'f1', 1, 'abname'),
  ('TRG', 'ab', 'xyz', '003', 'f2', 2, 'abodd'),
  ('TRG', 'ab', 'xyz', '004', 'f1', 1, 'abodd'),
  ('TRG', 'ab', 'xyz', '005', 'f1', 1, 'abzero'),
  ('TRG', 'ab', 'xyz', '005', 'f2', 2, 'abamt'),
  ('TRG', 'ab', 'xyz', '006', 'f1', 1, 'abhuge');
)SQL";

// 65,540 fields of 32,767 each overflow a Long sum.
const char* const kWideTable = R"SQL(
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 65540)
INSERT INTO qxddi150 (appl, cpac, cmod, flno, fdnm, fdno, cdom) SELECT 'TRG', 'ab', 'xyz', '007', 'f' || i, i, 'abbig' FROM n;
)SQL";

TEST(RowSize, SumsTheSizeOfEveryFieldByItsDomainTypeAndOverflowsReachTheCaller) {
  Workspace ws;
  ClsXMLGenerator g;
  g.ConnectionString(ws.Repository({}, kTables));
  const std::tuple<const char*, const char*, VbLong> cases[] = {
      {"TRG", "abxyz001", 52},   // S of 30 and K
      {"TRG", "abxyz002", 400},  // M of 100
      {"TRG", "abxyz005", 13},   // type "0" adds 1, D adds digits 10 + 2
      {"TRG", "abxyz003", 60},   // an unknown type adds the previous field's size again
      {"TRG", "abxyz004", 0},    // ... nothing when it comes first
      {"TRG", "abxyz999", 1},    // a table without fields counts one
      {"NOAPP", "abxyz001", 1}};
  for (const auto& [appl, table, size] : cases) EXPECT_EQ(g.RowSizeofTable(appl, table), size) << table;
  auto error = [&](const char* table) { return test_support::RaisedNumber([&] { g.RowSizeofTable("TRG", table); }); };
  EXPECT_EQ(error("abxyz006"), kErrOverflow);  // 10,000 x 4 exceeds one field's Integer
  g.ConnectionString(ws.Repository({}, std::string(kTables) + kWideTable, "wide.db"));
  EXPECT_EQ(error("abxyz007"), kErrOverflow);  // the Long sum
}

}  // namespace
}  // namespace tqlm::test
