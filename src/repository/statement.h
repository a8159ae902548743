// A repository statement as a value: its shape, the component's own text
// with a place for each value, and the values, each typed. A value is bound
// to its place by the backend; it is pasted into a text only to show the
// statement as the component's procedures build it (the observer, error
// hints, tests), never into a text a server parses.
//
// Shape text comes from string literals in the code, or from the
// component's own constants (OwnText); a std::string cannot be appended as
// shape by accident, since no operator takes one:
//
//     Statement s = "select * from qxddi101 where appl=" + TextValue(appl) +
//                   " and mprf = " + NumberValue(profile);
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "repository/value.h"

namespace tqlm {

// One value of a statement.
struct BoundValue {
  enum class Kind : unsigned char {
    kText,    // shown in single quotes; bound as text
    kNumber,  // shown bare; bound as the number it holds, or as the text a row gave for it
  };
  Kind kind = Kind::kText;
  Value value;  // Windows-1252 text, an integer, a real, or Null
};

// A text value: a client setting, a code, a rule's key. Shown as 'text',
// compared as it stands, quotes and all.
BoundValue TextValue(std::string_view text);
// A number value: a profile number, or a number as a repository row gave it
// (which may be a text; it is then bound as that text).
BoundValue NumberValue(long long number);
BoundValue NumberValue(const Value& value);

// Texts as values joined by `separator` (the items of an in-list): shown
// as 'a','b'.
class Statement;
Statement TextValues(const std::vector<std::string>& texts, const Statement& separator);
Statement TextValues(const std::vector<std::string>& texts);

// Marks the end of a subquery whose text value is compared with an indexed
// expression: the value is to be compared as plain text, without the column
// type it carries. SQLite needs it said (its comparison would take the
// subquery's affinity and leave the index); other servers need nothing.
struct PlainTextMark {};
inline constexpr PlainTextMark kPlainText{};

// How a server writes what the component's statements hold.
struct Dialect {
  std::string_view join = "+";   // the operator joining texts
  std::string_view plainText;    // written at kPlainText
};
// How the places of values are marked in a shape.
enum class Places { kQuestionMarks, kNumbered };  // "?", or "$1", "$2", ...

class Statement {
 public:
  Statement() = default;
  template <std::size_t N>
  Statement(const char (&shape)[N]) {  // NOLINT: a literal is a statement's shape
    AppendShape(std::string_view(shape, N - 1));
  }
  // Shape text the component composes at run time from its own constants (a
  // table name it chose, the column list of a class); never a value.
  static Statement OwnText(std::string_view shape);

  template <std::size_t N>
  Statement& operator+=(const char (&shape)[N]) {
    AppendShape(std::string_view(shape, N - 1));
    return *this;
  }
  Statement& operator+=(const Statement& other);
  Statement& operator+=(BoundValue value);
  Statement& operator+=(PlainTextMark);

  // The statement as the component's procedures build it, each value pasted
  // into its place: a text in single quotes, a number bare (Windows-1252).
  std::string Rendered() const;
  // The shape as a server speaks it: "+" between texts as the dialect joins
  // them, each value's place marked. Only the component's own text is
  // rewritten; no value is in it.
  std::string Shape(const Dialect& dialect, Places places) const;
  const std::vector<BoundValue>& Values() const { return values_; }
  // Two statements with the same key have the same shape and values, and so
  // read the same rows from one snapshot (a rendered text cannot tell the
  // value "a','b" from the two values "a" and "b").
  // Made once, when first asked for.
  const std::string& Key() const;
  // Tells shapes apart, whatever the values (the shape as kept, not a text
  // a server reads): a backend's index of what it prepared.
  const std::string& ShapeKey() const { return shape_; }
  bool Empty() const { return shape_.empty(); }

 private:
  void AppendShape(std::string_view text);

  std::string shape_;  // the original dialect's text, kPlace and kMark where a value and kPlainText stand
  std::vector<BoundValue> values_;
  mutable std::string key_;  // empty until Key() makes it
};

template <std::size_t N>
Statement operator+(Statement statement, const char (&shape)[N]) {
  return std::move(statement += shape);
}
template <std::size_t N>
Statement operator+(const char (&shape)[N], BoundValue value) {
  Statement statement(shape);
  return std::move(statement += std::move(value));
}
template <std::size_t N>
Statement operator+(const char (&shape)[N], const Statement& other) {
  Statement statement(shape);
  return std::move(statement += other);
}
inline Statement operator+(Statement statement, BoundValue value) { return std::move(statement += std::move(value)); }
inline Statement operator+(Statement statement, const Statement& other) { return std::move(statement += other); }
inline Statement operator+(Statement statement, PlainTextMark mark) { return std::move(statement += mark); }

}  // namespace tqlm
