// The shape of an error line. A procedure with an error trap turns an error
// into one line of its own shape: prefix + number (with a leading blank when
// not negative) + separator + description + hint + suffix, written as a line
// or as text that carries its own line end. The hint names what the
// procedure was working on, where its line does.
#pragma once

#include <string>
#include <string_view>

#include "platform/error.h"

namespace tqlm {

enum class LogCall { WriteLine, Write };

struct TrapStyle {
  std::string_view prefix;
  std::string_view separator;
  std::string_view suffix;
  LogCall call;
  bool storesDescription;  // the line also becomes the object's ErrorDescription
};

std::string ErrorLine(const TrapStyle& style, const VbError& error, std::string_view hint = {});

}  // namespace tqlm
