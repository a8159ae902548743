#include "repository/recordset.h"

#include "platform/error.h"

namespace tqlm {

namespace {

constexpr const char* kErrorSource = "Repository";

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string LowerAscii(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = LowerAscii(c);
  return lower;
}

bool EqualsLowered(std::string_view name, std::string_view lowered) {
  if (name.size() != lowered.size()) return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (LowerAscii(name[i]) != lowered[i]) return false;
  }
  return true;
}

void AppendValue(std::string& out, const Value& value, std::string_view nullText) {
  if (value.IsNull()) {
    out.append(nullText);
  } else {
    out.append(value.AsText());
  }
}

}  // namespace

Recordset::Recordset(std::unique_ptr<Cursor> cursor) : cursor_(std::move(cursor)) {
  if (!cursor_) return;
  const auto& names = cursor_->ColumnNames();
  lowerNames_.reserve(names.size());
  for (const auto& name : names) lowerNames_.push_back(LowerAscii(name));
  if (cursor_->Next(row_)) {
    bof_ = false;
    eof_ = false;
  } else {
    cursor_.reset();
  }
}

Recordset::Recordset(Recordset&&) noexcept = default;
Recordset& Recordset::operator=(Recordset&&) noexcept = default;
Recordset::~Recordset() = default;

void Recordset::MoveNext() {
  if (eof_) Raise(kErrNoCurrentRecord, kErrorSource);
  bof_ = false;
  if (!cursor_->Next(row_)) {
    eof_ = true;
    // The statement goes back to the connection as soon as it is used up, so
    // that a caller walking a parent recordset to its end does not keep it.
    cursor_.reset();
  }
}

long Recordset::FieldCount() const { return static_cast<long>(lowerNames_.size()); }

const Value& Recordset::Field(std::string_view name) const {
  for (std::size_t i = 0; i < lowerNames_.size(); ++i) {
    if (EqualsLowered(name, lowerNames_[i])) return Field(static_cast<long>(i));
  }
  Raise(kErrItemNotFound, kErrorSource);
}

const Value& Recordset::Field(long position) const {
  if (position < 0 || position >= FieldCount()) Raise(kErrItemNotFound, kErrorSource);
  if (!HasRow()) Raise(kErrNoCurrentRecord, kErrorSource);
  return row_[static_cast<std::size_t>(position)];
}

std::string Recordset::GetString(std::string_view columnDelimiter, std::string_view rowDelimiter,
                                 std::string_view nullText) {
  std::string out;
  while (HasRow()) {
    const std::size_t last = row_.size();
    for (std::size_t i = 0; i < last; ++i) {
      AppendValue(out, row_[i], nullText);
      out.append(i + 1 == last ? rowDelimiter : columnDelimiter);
    }
    MoveNext();
  }
  return out;
}

void Recordset::Close() {
  cursor_.reset();
  row_.clear();
  bof_ = true;
  eof_ = true;
}

}  // namespace tqlm
