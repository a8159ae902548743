// The per-procedure error trap. A procedure with a trap runs its body through
// Trapped(): an error raised inside becomes one error line, which the trap
// stores as the object's ErrorDescription (most procedures), writes to the
// log, and the procedure returns False. A procedure without a trap simply
// lets the error travel to its caller's trap.
#pragma once

#include <string>
#include <string_view>

#include "interface/component.h"
#include "platform/error.h"

namespace tqlm {

enum class LogCall { WriteLine, Write };

// The shape of one procedure's error line:
// prefix + number (leading blank when not negative) + separator + description + suffix.
struct TrapStyle {
  std::string_view prefix;
  std::string_view separator;
  std::string_view suffix;
  LogCall call;
  bool storesDescription;
};

// TAB TAB "ERROR:" number ":" description, as a line (generator writers).
inline constexpr TrapStyle kGeneratorTrap{"\t\tERROR:", ":", "", LogCall::WriteLine, true};
// TAB TAB "ERROR:- " number " - " description CR LF, as text (legacy writers).
inline constexpr TrapStyle kLegacyTrap{"\t\tERROR:- ", " - ", "\r\n", LogCall::Write, true};
// The standard trap of the class: the generator's line or the legacy one.
inline const TrapStyle& StandardTrap(const Component& c) { return c.IsGenerator() ? kGeneratorTrap : kLegacyTrap; }
// The run's own trap: number "-" description, as a line.
inline constexpr TrapStyle kGeneratorRunTrap{"", "-", "", LogCall::WriteLine, true};
inline constexpr TrapStyle kLegacyRunTrap{"\t\tERROR:- ", " - ", "\r\n", LogCall::Write, true};

std::string ErrorLine(const TrapStyle& style, const VbError& error);

// Stores (when the style says so) and logs the error line of `error`.
void ReportError(Component& c, const TrapStyle& style, const VbError& error);

// Runs `body` (returning bool) under a trap of `style`.
template <class Body>
bool Trapped(Component& c, const TrapStyle& style, Body&& body) {
  try {
    return body();
  } catch (...) {
    ReportError(c, style, CurrentError());
    return false;
  }
}

}  // namespace tqlm
