#include "repository/dialect.h"

namespace tqlm {

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

}  // namespace tqlm
