// The per-procedure error trap. A procedure with a trap runs its body through
// Trapped(): an error raised inside becomes one error line of the trap's
// style, which is stored as the object's ErrorDescription (most procedures)
// and written to the log, and the procedure returns False. A procedure
// without a trap lets the error travel to its caller's trap.
#pragma once

#include <string>
#include <string_view>

#include "core/component.h"
#include "core/trap_style.h"
#include "platform/error.h"

namespace tqlm {

// Stores (when the style says so) and logs the error line of `error`.
void ReportError(Component& c, const TrapStyle& style, const VbError& error, std::string_view hint = {});

// Runs `body` (returning bool) under a trap of `style`. `hint` is read when
// an error comes, so the body may have changed it meanwhile.
template <class Body>
bool Trapped(Component& c, const TrapStyle& style, Body&& body, const std::string& hint = {}) {
  try {
    return body();
  } catch (...) {
    ReportError(c, style, CurrentError(), hint);
    return false;
  }
}

}  // namespace tqlm
