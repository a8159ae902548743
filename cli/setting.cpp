#include "setting.h"

#include <iostream>

#include "platform/codepage.h"

namespace tqlm::cli {

int SetterFailed(const Raised& raised, const std::string& subject) {
  std::cerr << "ERROR: " << raised.error().number << ":" << AnsiToUtf8(raised.error().description);
  if (!subject.empty()) std::cerr << " (" << subject << ")";
  std::cerr << "\n";
  return kExitFalse;
}

std::string Ansi(const std::string& utf8) { return Utf8ToAnsi(utf8); }

bool IsInteger(std::string_view text) {
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
  if (text.empty()) return false;
  for (char ch : text)
    if (ch < '0' || ch > '9') return false;
  return true;
}

}  // namespace tqlm::cli
