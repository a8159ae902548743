// A forward-only, read-only recordset over one statement.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "repository/value.h"

namespace tqlm {

// The column names of a result, shared by every result of one prepared
// statement and by the recordsets that read them.
using ColumnNames = std::shared_ptr<const std::vector<std::string>>;

// What a backend hands a recordset: rows one at a time.
class Cursor {
 public:
  virtual ~Cursor() = default;
  // Never null.
  virtual const ColumnNames& Names() const = 0;
  // Fills `row` with the next row and returns true, or returns false at the end.
  virtual bool Next(std::vector<Value>& row) = 0;
};

class Recordset {
 public:
  explicit Recordset(std::unique_ptr<Cursor> cursor);
  Recordset(Recordset&&) noexcept;
  Recordset& operator=(Recordset&&) noexcept;
  ~Recordset();

  // Both are true for an empty result; after the last row only Eof is.
  // (Named Bof/Eof: EOF is a macro of the C library.)
  bool Bof() const { return bof_; }
  bool Eof() const { return eof_; }
  // True when the recordset stands on a row (neither BOF nor EOF).
  bool HasRow() const { return !bof_ && !eof_; }
  void MoveNext();  // at EOF raises 3021

  long FieldCount() const;
  // Fields of the current row by name (case-insensitive; unknown: error 3265)
  // or by 0-based position (out of range: error 3265). Reading at BOF or EOF
  // raises 3021.
  const Value& Field(std::string_view name) const;
  const Value& Field(long position) const;

  // All rows from the current one on, in clip format: each column followed by
  // columnDelimiter except the last of a row, which is followed by
  // rowDelimiter; Null as nullText. Leaves the recordset at EOF.
  std::string GetString(std::string_view columnDelimiter, std::string_view rowDelimiter,
                        std::string_view nullText = {});

  void Close();

 private:
  std::unique_ptr<Cursor> cursor_;
  ColumnNames names_;
  std::vector<Value> row_;
  mutable std::size_t next_ = 0;  // the column after the one Field found last
  bool bof_ = true;
  bool eof_ = true;
};

}  // namespace tqlm
