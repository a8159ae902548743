// What the commands share: their exit statuses, the setting of a property
// from an option, and the line a failed setter prints.
#pragma once

#include <string>
#include <vector>
#include <string_view>
#include <type_traits>
#include <utility>

#include <tqlm/cls_xml_legacy.h>
#include <tqlm/error.h>

namespace tqlm::cli {

inline constexpr int kExitTrue = 0;
inline constexpr int kExitFalse = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitSomeFailed = 3;  // True, but XMLErrors > 0
inline constexpr int kExitWouldChange = 4;  // --check: a run would change files

// A property setter (or the opening of a file) that failed; the option and
// value, or the path, that it was about follow the component's own line:
// "ERROR: 76:Path not found (--log nodir/run.log)". Returns 1.
int SetterFailed(const Raised& raised, const std::string& subject = {});

// Raised with the option whose value caused it.
struct OptionFailed {
  Raised raised;
  std::string option;
};

// Runs a setter; its error names the option and its value.
template <class Setter>
void SetOption(const std::string& option, const std::string& value, Setter&& set) {
  try {
    std::forward<Setter>(set)();
  } catch (const Raised& raised) {
    throw OptionFailed{raised, option + " " + value};
  }
}

// A text of the command line (UTF-8) as the component takes it (Windows-1252).
std::string Ansi(const std::string& utf8);

// `text` without the blanks around it.
std::string Trimmed(std::string_view text);
// The pieces of `text` between commas, empty ones included.
std::vector<std::string> CommaSeparated(std::string_view text);

// An integer argument: an optional sign and decimal digits.
bool IsInteger(std::string_view text);

template <class Class>
constexpr bool kLegacy = std::is_same_v<Class, ClsXMLLegacy>;

// The profile number in the class's type: Integer or Long (error 6 outside).
template <class Class>
void SetProfile(Class& object, const std::string& text) {
  SetOption("--profile", text, [&] {
    if constexpr (kLegacy<Class>)
      object.MigrationProfile(CLngText(Ansi(text)));
    else
      object.MigrationProfile(CIntText(Ansi(text)));
  });
}

}  // namespace tqlm::cli
