#include "json.h"

#include <cstdio>

#include <tqlm/text.h>

namespace tqlm::cli {

std::string JsonString(std::string_view ansi) {
  std::string utf8 = AnsiToUtf8(ansi);
  std::string out = "\"";
  out.reserve(utf8.size() + 2);
  for (unsigned char ch : utf8) {
    switch (ch) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (ch < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", ch);
          out += escaped;
        } else {
          out += static_cast<char>(ch);
        }
    }
  }
  out += "\"";
  return out;
}

JsonObject& JsonObject::Add(std::string_view key, std::string_view rawValue) {
  if (text_.size() > 1) text_ += ", ";
  text_ += JsonString(key);
  text_ += ": ";
  text_ += rawValue;
  return *this;
}

JsonObject& JsonObject::AddString(std::string_view key, std::string_view ansi) { return Add(key, JsonString(ansi)); }
JsonObject& JsonObject::AddNumber(std::string_view key, long long value) { return Add(key, std::to_string(value)); }
JsonObject& JsonObject::AddBool(std::string_view key, bool value) { return Add(key, value ? "true" : "false"); }
JsonObject& JsonObject::AddNull(std::string_view key) { return Add(key, "null"); }

}  // namespace tqlm::cli
