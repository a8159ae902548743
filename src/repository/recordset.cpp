#include "repository/recordset.h"

#include "platform/error.h"

namespace tqlm {

namespace {

constexpr const char* kErrorSource = "Repository";

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i] != b[i] && LowerAscii(a[i]) != LowerAscii(b[i])) return false;
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
  names_ = cursor_->Names();
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

long Recordset::FieldCount() const { return names_ ? static_cast<long>(names_->size()) : 0; }

const Value& Recordset::Field(std::string_view name) const {
  // Readers mostly ask for the columns in their order: the search starts
  // after the column found last.
  const std::size_t count = static_cast<std::size_t>(FieldCount());
  for (std::size_t n = 0, i = next_ < count ? next_ : 0; n < count; ++n, i = i + 1 < count ? i + 1 : 0) {
    if (EqualsIgnoringAsciiCase(name, (*names_)[i])) {
      next_ = i + 1;
      return Field(static_cast<long>(i));
    }
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
