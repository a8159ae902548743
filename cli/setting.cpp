#include "setting.h"

#include <iostream>

#include <tqlm/text.h>

namespace tqlm::cli {

int SetterFailed(const Raised& raised, const std::string& subject) {
  std::cerr << "ERROR: " << raised.error().number << ":" << AnsiToUtf8(raised.error().description);
  if (!subject.empty()) std::cerr << " (" << subject << ")";
  std::cerr << "\n";
  return kExitFalse;
}

std::string Ansi(const std::string& utf8) { return Utf8ToAnsi(utf8); }

std::string Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

std::vector<std::string> CommaSeparated(std::string_view text) {
  std::vector<std::string> pieces;
  for (std::size_t start = 0;;) {
    const std::size_t comma = text.find(',', start);
    pieces.emplace_back(text.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start));
    if (comma == std::string_view::npos) return pieces;
    start = comma + 1;
  }
}

bool IsInteger(std::string_view text) {
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
  if (text.empty()) return false;
  for (char ch : text)
    if (ch < '0' || ch > '9') return false;
  return true;
}

}  // namespace tqlm::cli
