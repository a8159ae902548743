#include "repository/dialect.h"

#include <vector>

namespace tqlm {

namespace {

bool IsWordCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

bool MatchesNoCase(std::string_view text, std::size_t at, std::string_view lowerWord) {
  if (at + lowerWord.size() > text.size()) return false;
  for (std::size_t k = 0; k < lowerWord.size(); ++k) {
    char c = text[at + k];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != lowerWord[k]) return false;
  }
  return true;
}

}  // namespace

std::string SqliteScriptForPostgres(std::string_view sql) {
  std::string out;
  out.reserve(sql.size() + sql.size() / 16);
  bool statementStart = true, inCreate = false;
  for (std::size_t i = 0; i < sql.size();) {
    const char c = sql[i];
    if (c == '\'') {  // a literal, copied as it stands
      std::size_t end = i + 1;
      while (end < sql.size() && !(sql[end] == '\'' && (end + 1 >= sql.size() || sql[end + 1] != '\''))) {
        end += sql[end] == '\'' ? 2 : 1;
      }
      out.append(sql.substr(i, end + 1 - i));
      i = end + 1;
      continue;
    }
    // Comments, copied as they stand: to the line's end, or to "*/".
    if (c == '-' && i + 1 < sql.size() && sql[i + 1] == '-') {
      const std::size_t end = std::min(sql.find('\n', i), sql.size());
      out.append(sql.substr(i, end - i));
      i = end;
      continue;
    }
    if (c == '/' && i + 1 < sql.size() && sql[i + 1] == '*') {
      const std::size_t close = sql.find("*/", i + 2);
      const std::size_t end = close == std::string_view::npos ? sql.size() : close + 2;
      out.append(sql.substr(i, end - i));
      i = end;
      continue;
    }
    if (c == ';') statementStart = true;
    const bool wordStart = IsWordCharacter(c) && (i == 0 || !IsWordCharacter(sql[i - 1]));
    if (wordStart && statementStart) {
      inCreate = MatchesNoCase(sql, i, "create") && !IsWordCharacter(i + 6 < sql.size() ? sql[i + 6] : ' ');
      statementStart = false;
    }
    if (wordStart && MatchesNoCase(sql, i, "text collate rtrim")) {
      out += "bpchar";
      i += 18;
      continue;
    }
    // char(13, 10) in an expression: the characters of those codes, joined.
    // In a table's definition char(n) is a column type, and stays.
    if (wordStart && !inCreate && MatchesNoCase(sql, i, "char") &&
        !IsWordCharacter(i + 4 < sql.size() ? sql[i + 4] : ' ')) {
      std::size_t open = i + 4;
      while (open < sql.size() && sql[open] == ' ') ++open;
      if (open < sql.size() && sql[open] == '(') {
        std::vector<std::string_view> arguments;
        std::size_t start = open + 1, depth = 1, k = open + 1;
        for (; k < sql.size() && depth > 0; ++k) {
          if (sql[k] == '(') ++depth;
          if (sql[k] == ')' && --depth == 0) break;
          if (sql[k] == ',' && depth == 1) {
            arguments.push_back(sql.substr(start, k - start));
            start = k + 1;
          }
        }
        if (k < sql.size()) {
          arguments.push_back(sql.substr(start, k - start));
          out += '(';
          for (std::size_t a = 0; a < arguments.size(); ++a)
            out.append(a == 0 ? "" : " || ").append("chr(").append(arguments[a]).append(")");
          out += ')';
          i = k + 1;
          continue;
        }
      }
    }
    out += c;
    ++i;
  }
  return out;
}

}  // namespace tqlm
