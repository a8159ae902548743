// Just enough JSON for the command line's one-line results.
#pragma once

#include <string>
#include <string_view>

namespace tqlm::cli {

// A JSON string literal of Windows-1252 text (converted to UTF-8).
std::string JsonString(std::string_view ansi);

// Builds {"key": value, ...} in the order members are added.
class JsonObject {
 public:
  JsonObject& Add(std::string_view key, std::string_view rawValue);
  JsonObject& AddString(std::string_view key, std::string_view ansi);
  JsonObject& AddNumber(std::string_view key, long long value);
  JsonObject& AddBool(std::string_view key, bool value);
  JsonObject& AddNull(std::string_view key);
  std::string Text() const { return text_ + "}"; }

 private:
  std::string text_ = "{";
};

}  // namespace tqlm::cli
