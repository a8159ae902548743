#include "repository/statement.h"

#include <algorithm>
#include <utility>

namespace tqlm {

namespace {

// Where a value stands in a shape, and where kPlainText does: bytes that
// no text of the component holds.
constexpr char kPlace = '\x01';
constexpr char kMark = '\x02';

}  // namespace

BoundValue TextValue(std::string_view text) { return {BoundValue::Kind::kText, Value::Text(std::string(text))}; }
BoundValue NumberValue(long long number) { return {BoundValue::Kind::kNumber, Value::Integer(number)}; }
BoundValue NumberValue(const Value& value) { return {BoundValue::Kind::kNumber, value}; }

Statement TextValues(const std::vector<std::string>& texts, const Statement& separator) {
  Statement list;
  for (std::size_t i = 0; i < texts.size(); ++i) {
    if (i > 0) list += separator;
    list += TextValue(texts[i]);
  }
  return list;
}

Statement TextValues(const std::vector<std::string>& texts) { return TextValues(texts, ","); }

Statement Statement::OwnText(std::string_view shape) {
  Statement statement;
  statement.AppendShape(shape);
  return statement;
}

void Statement::AppendShape(std::string_view text) {
  // A statement's shape is a few hundred bytes: room for it at once.
  if (shape_.empty()) shape_.reserve(std::max<std::size_t>(text.size(), 224));
  shape_.append(text);
  key_.clear();
}

Statement& Statement::operator+=(const Statement& other) {
  shape_.append(other.shape_);
  key_.clear();
  values_.insert(values_.end(), other.values_.begin(), other.values_.end());
  return *this;
}

Statement& Statement::operator+=(BoundValue value) {
  if (values_.empty()) values_.reserve(8);
  shape_ += kPlace;
  key_.clear();
  values_.push_back(std::move(value));
  return *this;
}

Statement& Statement::operator+=(PlainTextMark) {
  shape_ += kMark;
  key_.clear();
  return *this;
}

std::string Statement::Rendered() const {
  std::string text;
  text.reserve(shape_.size() + 16 * values_.size());
  std::size_t next = 0;
  for (char c : shape_) {
    if (c == kMark) continue;
    if (c != kPlace) {
      text += c;
      continue;
    }
    const BoundValue& bound = values_[next++];
    if (bound.kind == BoundValue::Kind::kText) {
      text.append(1, '\'').append(bound.value.AsText()).append(1, '\'');
    } else {
      text.append(bound.value.AsText());
    }
  }
  return text;
}

std::string Statement::Shape(const Dialect& dialect, Places places) const {
  std::string text;
  text.reserve(shape_.size() + shape_.size() / 8 + 4 * values_.size());
  std::size_t place = 0;
  // The shape's own literals (a "'.'" between columns, say) are copied as
  // they stand; a doubled quote in one closes and at once reopens it.
  bool inLiteral = false;
  for (char c : shape_) {
    switch (c) {
      case '\'':
        inLiteral = !inLiteral;
        text += c;
        break;
      case '+':
        if (inLiteral) text += c;
        else text.append(dialect.join);
        break;
      case kPlace:
        if (places == Places::kQuestionMarks) text += '?';
        else text.append(1, '$').append(std::to_string(++place));
        break;
      case kMark: text.append(dialect.plainText); break;
      default: text += c; break;
    }
  }
  return text;
}

const std::string& Statement::Key() const {
  if (!key_.empty() || shape_.empty()) return key_;
  // Each value with its kind, its type and its length: no two lists of
  // values give the same key. Made in one piece: a run makes one for most
  // statements it sends.
  constexpr std::size_t kMarks = 24;  // the marks and the length of one value
  std::size_t size = shape_.size();
  for (const BoundValue& bound : values_) {
    const std::string* text = bound.value.IfText();
    size += kMarks + (text != nullptr ? text->size() : kMarks);
  }
  std::string& key = key_;
  key.reserve(size);
  key = shape_;
  std::string number;
  for (const BoundValue& bound : values_) {
    const std::string* text = bound.value.IfText();
    const char type = bound.value.IsNull() ? '0' : text != nullptr ? 's' : 'x';
    if (text == nullptr) {
      number = bound.value.AsText();
      text = &number;
    }
    key.append(1, '\0')
        .append(1, bound.kind == BoundValue::Kind::kText ? 't' : 'n')
        .append(1, type)
        .append(std::to_string(text->size()))
        .append(1, ':')
        .append(*text);
  }
  return key;
}

}  // namespace tqlm
