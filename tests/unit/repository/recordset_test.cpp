#include "repository/recordset.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/error.h"
#include "support/test_support.h"

namespace tqlm {
namespace {

using test_support::RaisedNumber;

// Rows handed out from memory, so the recordset is tested without a database.
class RowsCursor final : public Cursor {
 public:
  RowsCursor(std::vector<std::string> names, std::vector<std::vector<Value>> rows)
      : names_(std::move(names)), rows_(std::move(rows)) {}
  const std::vector<std::string>& ColumnNames() const override { return names_; }
  bool Next(std::vector<Value>& row) override {
    if (next_ >= rows_.size()) return false;
    row = rows_[next_++];
    return true;
  }

 private:
  std::vector<std::string> names_;
  std::vector<std::vector<Value>> rows_;
  std::size_t next_ = 0;
};

Recordset MakeRecordset(std::vector<std::string> names, std::vector<std::vector<Value>> rows) {
  return Recordset(std::make_unique<RowsCursor>(std::move(names), std::move(rows)));
}

// (a, NULL), (b, c)
Recordset TwoRows() {
  return MakeRecordset({"Name", "kind"}, {{Value::Text("a"), Value()}, {Value::Text("b"), Value::Text("c")}});
}

TEST(RecordsetTest, EmptyResultIsAtBofAndEof) {
  Recordset rs = MakeRecordset({"a"}, {});
  EXPECT_TRUE(rs.Bof());
  EXPECT_TRUE(rs.Eof());
  EXPECT_FALSE(rs.HasRow());
  EXPECT_EQ(rs.FieldCount(), 1);
  EXPECT_EQ(RaisedNumber([&] { rs.Field("a"); }), kErrNoCurrentRecord);
  EXPECT_EQ(RaisedNumber([&] { rs.MoveNext(); }), kErrNoCurrentRecord);
  EXPECT_EQ(rs.GetString(",", ";"), "");
}

TEST(RecordsetTest, WalksRowsAndEndsAtEofOnly) {
  Recordset rs = TwoRows();
  EXPECT_FALSE(rs.Bof());
  EXPECT_FALSE(rs.Eof());
  EXPECT_EQ(rs.Field("name").AsText(), "a");
  EXPECT_TRUE(rs.Field(1).IsNull());
  rs.MoveNext();
  EXPECT_EQ(rs.Field(0).AsText(), "b");
  rs.MoveNext();
  EXPECT_FALSE(rs.Bof());
  EXPECT_TRUE(rs.Eof());
  EXPECT_EQ(RaisedNumber([&] { rs.Field(0); }), kErrNoCurrentRecord);
  EXPECT_EQ(RaisedNumber([&] { rs.MoveNext(); }), kErrNoCurrentRecord);
  EXPECT_EQ(rs.FieldCount(), 2);
}

TEST(RecordsetTest, FieldsByNameIgnoreCaseAndUnknownOnesRaise3265) {
  Recordset rs = TwoRows();
  EXPECT_EQ(rs.Field("NAME").AsText(), "a");
  EXPECT_EQ(rs.Field("Name").AsText(), "a");
  EXPECT_TRUE(rs.Field("KIND").IsNull());
  EXPECT_EQ(RaisedNumber([&] { rs.Field("nam"); }), kErrItemNotFound);
  EXPECT_EQ(RaisedNumber([&] { rs.Field(2); }), kErrItemNotFound);
  EXPECT_EQ(RaisedNumber([&] { rs.Field(-1); }), kErrItemNotFound);
  rs.MoveNext();
  rs.MoveNext();
  // An unknown name is reported as such even without a current row.
  EXPECT_EQ(RaisedNumber([&] { rs.Field("nam"); }), kErrItemNotFound);
}

TEST(RecordsetTest, GetStringWritesClipFormatAndEndsAtEof) {
  Recordset all = TwoRows();
  EXPECT_EQ(all.GetString("|", ","), "a|,b|c,");
  EXPECT_TRUE(all.Eof());
  EXPECT_EQ(all.GetString("|", ","), "");

  Recordset nullText = TwoRows();
  EXPECT_EQ(nullText.GetString("\t", "\r\n", "(null)"), "a\t(null)\r\nb\tc\r\n");

  Recordset fromSecond = TwoRows();
  fromSecond.MoveNext();
  EXPECT_EQ(fromSecond.GetString("|", ","), "b|c,");

  Recordset numbers = MakeRecordset({"n"}, {{Value::Integer(1)}, {Value::Real(2.0)}, {Value::Real(0.5)}});
  EXPECT_EQ(numbers.GetString(",", ","), "1,2,0.5,");
}

}  // namespace
}  // namespace tqlm
