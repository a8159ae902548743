// One column value of a repository row: Null, integer, real or text
// (Windows-1252).
#pragma once

#include <cstdint>
#include <string>
#include <variant>

namespace tqlm {

class Value {
 public:
  Value() = default;  // Null
  static Value Integer(std::int64_t v) { return Value(Data(v)); }
  static Value Real(double v) { return Value(Data(v)); }
  static Value Text(std::string v) { return Value(Data(std::move(v))); }
  // Makes the value a text and returns it to be filled: the room of the
  // text it held is reused.
  std::string& TextRoom() {
    if (std::string* text = std::get_if<std::string>(&data_)) return *text;
    return data_.emplace<std::string>();
  }

  bool IsNull() const { return std::holds_alternative<std::monostate>(data_); }
  bool IsText() const { return std::holds_alternative<std::string>(data_); }
  // The integer it holds, when it holds one.
  const std::int64_t* IfInteger() const { return std::get_if<std::int64_t>(&data_); }
  // The text it holds, when it holds one.
  const std::string* IfText() const { return std::get_if<std::string>(&data_); }

  // The value as text: Null is empty, numbers in plain decimal (CStr).
  std::string AsText() const;
  // The value as a number: Null is 0, text is converted (error 13 when it
  // is not numeric).
  double AsNumber() const;
  // A repository flag: Null is False, any non-zero number or numeric text is
  // True, "True"/"False" texts (any case) as written; other text raises 13.
  bool AsFlag() const;

 private:
  using Data = std::variant<std::monostate, std::int64_t, double, std::string>;
  explicit Value(Data d) : data_(std::move(d)) {}
  Data data_;
};

}  // namespace tqlm
