#include "repository/dialect.h"

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


std::string JoinTextWithBars(std::string_view statement) {
  std::string out;
  out.reserve(statement.size() + statement.size() / 8);
  bool inLiteral = false;
  // A doubled quote inside a literal closes and at once reopens it, so
  // toggling on every quote keeps it inside.
  for (char c : statement) {
    if (c == '\'') inLiteral = !inLiteral;
    if (c == '+' && !inLiteral) {
      out.append("||");
    } else {
      out.push_back(c);
    }
  }
  return out;
}

bool HoldsSecondStatement(std::string_view statement) {
  bool inLiteral = false, ended = false;
  for (char c : statement) {
    if (ended && c != ' ' && c != '\t' && c != '\r' && c != '\n' && c != ';') return true;
    if (c == '\'') inLiteral = !inLiteral;
    if (c == ';' && !inLiteral) ended = true;
  }
  return false;
}

std::string SqliteScriptForPostgres(std::string_view sql) {
  std::string out;
  out.reserve(sql.size() + sql.size() / 16);
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
    if (c == '-' && i + 1 < sql.size() && sql[i + 1] == '-') {  // a comment, to the line's end
      const std::size_t end = std::min(sql.find('\n', i), sql.size());
      out.append(sql.substr(i, end - i));
      i = end;
      continue;
    }
    const bool wordStart = i == 0 || !IsWordCharacter(sql[i - 1]);
    if (wordStart && MatchesNoCase(sql, i, "text collate rtrim")) {
      out += "bpchar";
      i += 18;
      continue;
    }
    if (wordStart && MatchesNoCase(sql, i, "char") && !IsWordCharacter(i + 4 < sql.size() ? sql[i + 4] : ' ')) {
      std::size_t open = i + 4;
      while (open < sql.size() && sql[open] == ' ') ++open;
      const std::size_t close = open < sql.size() && sql[open] == '(' ? sql.find(')', open) : std::string_view::npos;
      if (close != std::string_view::npos) {
        // char(13, 10): the characters of those codes, joined.
        std::string_view arguments = sql.substr(open + 1, close - open - 1);
        out += '(';
        for (bool first = true; !arguments.empty(); first = false) {
          const std::size_t comma = std::min(arguments.find(','), arguments.size());
          out.append(first ? "" : " || ").append("chr(").append(arguments.substr(0, comma)).append(")");
          arguments.remove_prefix(std::min(comma + 1, arguments.size()));
        }
        out += ')';
        i = close + 1;
        continue;
      }
    }
    out += c;
    ++i;
  }
  return out;
}

}  // namespace tqlm
