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

// The first character at or after `from` that a template gives a meaning:
// a quote, "+", or a parameter marker of its own.
std::size_t NextMarked(std::string_view s, std::size_t from) {
  for (; from < s.size(); ++from) {
    switch (s[from]) {
      case '?':
      case ':':
      case '@':
      case '$':
      case '+':
      case '\'': return from;
      default: break;
    }
  }
  return s.size();
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

StatementTemplate MakeTemplate(std::string_view statement, Placeholders placeholders) {
  const auto asItStands = [&] { return StatementTemplate{JoinTextWithBars(statement), {}, false}; };
  StatementTemplate t;
  t.text.reserve(statement.size() + statement.size() / 8);
  for (std::size_t i = 0; i < statement.size(); ++i) {
    // The text up to the next character that means something is copied at once.
    const std::size_t next = NextMarked(statement, i);
    t.text.append(statement.substr(i, next - i));
    if ((i = next) == statement.size()) break;
    const char ch = statement[i];
    if (ch != '+' && ch != '\'') return asItStands();  // a parameter marker of its own
    if (ch == '+') {
      t.text += "||";
      continue;
    }
    std::string value;
    std::size_t j = i + 1;
    for (;; ++j) {
      const std::size_t quote = statement.find('\'', j);
      if (quote == std::string_view::npos) return asItStands();
      value.append(statement.substr(j, quote - j));
      j = quote;
      if (j + 1 < statement.size() && statement[j + 1] == '\'') {
        value += '\'';  // a doubled quote stands for one
        ++j;
      } else {
        break;
      }
    }
    const std::size_t before = statement.find_last_not_of(' ', i == 0 ? 0 : i - 1);
    const std::size_t after = statement.find_first_not_of(' ', j + 1);
    const bool joined = (i > 0 && before != std::string_view::npos && statement[before] == '+') ||
                        (after != std::string_view::npos && statement[after] == '+');
    if (joined) {
      t.text.append(statement.substr(i, j - i + 1));
    } else {
      t.values.push_back(std::move(value));
      if (placeholders == Placeholders::kQuestionMarks) t.text += '?';
      else t.text.append("$").append(std::to_string(t.values.size()));
    }
    i = j;
  }
  return t;
}

bool HoldsSecondStatement(std::string_view statement) {
  // Only a ";" can end a statement.
  if (statement.find(';') == std::string_view::npos) return false;
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
