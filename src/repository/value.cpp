#include "repository/value.h"

#include <string_view>

#include "platform/error.h"
#include "platform/text.h"

namespace tqlm {

namespace {

bool EqualsAsciiNoCase(std::string_view text, std::string_view lowerWord) {
  if (text.size() != lowerWord.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != lowerWord[i]) return false;
  }
  return true;
}

// Flags are stored as numbers or as the words the original runtime wrote for
// its Boolean type; anything else is not a flag.
bool TextAsFlag(const std::string& text) {
  if (IsNumeric(text)) return CDbl(text) != 0;
  if (EqualsAsciiNoCase(text, "true")) return true;
  if (EqualsAsciiNoCase(text, "false")) return false;
  Raise(kErrTypeMismatch);
}

}  // namespace

std::string Value::AsText() const {
  if (const auto* i = std::get_if<std::int64_t>(&data_)) return CStr(static_cast<long long>(*i));
  if (const auto* d = std::get_if<double>(&data_)) return CStr(*d);
  if (const auto* s = std::get_if<std::string>(&data_)) return *s;
  return {};
}

double Value::AsNumber() const {
  if (const auto* i = std::get_if<std::int64_t>(&data_)) return static_cast<double>(*i);
  if (const auto* d = std::get_if<double>(&data_)) return *d;
  if (const auto* s = std::get_if<std::string>(&data_)) return CDbl(*s);
  return 0;
}

bool Value::AsFlag() const {
  if (const auto* i = std::get_if<std::int64_t>(&data_)) return *i != 0;
  if (const auto* d = std::get_if<double>(&data_)) return *d != 0;
  if (const auto* s = std::get_if<std::string>(&data_)) return TextAsFlag(*s);
  return false;
}

}  // namespace tqlm
