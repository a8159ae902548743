#include "core/pasted_values.h"

#include <string>

#include "platform/error.h"

namespace tqlm {

void RefuseQuotes(std::initializer_list<std::pair<std::string_view, std::string_view>> arguments) {
  for (const auto& [name, value] : arguments) {
    if (value.find('\'') != std::string_view::npos)
      Raise(kErrInvalidCall, "XML Generation",
            "Invalid procedure call or argument: " + std::string(name) + " holds a single quote");
  }
}

}  // namespace tqlm
