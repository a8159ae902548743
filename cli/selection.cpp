#include "selection.h"

#include <cstdlib>

#include <tqlm/text.h>

namespace tqlm::cli {

namespace {

// Paths are Windows-1252 inside the component: a path with a character that
// has no Windows-1252 form would silently name another file.
std::optional<std::string> UnrepresentablePath(const Options& o) {
  const std::pair<const char*, const std::optional<std::string>*> paths[] = {
      {"--repository", &o.repository}, {"--xml-path", &o.xmlPath}, {"--log", &o.log},
      {"--schema-ini-path", &o.schemaIniPath}};
  for (const auto& [name, value] : paths)
    if (*value && AnsiToUtf8(Utf8ToAnsi(**value)) != **value)
      return std::string(name) + ": '" + **value + "' holds a character that Windows-1252 cannot carry";
  return std::nullopt;
}

// The selection: --all, --list or range bounds, and only one way.
std::optional<std::string> SelectionError(const Options& o) {
  const bool bounds = o.packageFrom || o.moduleFrom || o.tableFrom || o.packageTo || o.moduleTo || o.tableTo;
  if (!o.all && !o.list && !bounds)
    return "select mapping objects with --all, --list CODES, or the bounds --package-from ... --table-to";
  if (o.all + static_cast<bool>(o.list) + bounds > 1) return "--all, --list and the range bounds exclude each other";
  return std::nullopt;
}

}  // namespace

std::optional<std::string> ProfileOptionError(const Options& o) {
  if (!IsInteger(*o.profile)) return "--profile: '" + *o.profile + "' is not a whole number";
  if (o.option && !(o.option->size() == 1 && (*o.option)[0] >= '0' && (*o.option)[0] <= '5'))
    return "--option: '" + *o.option + "' is not one of 0 to 5";
  if (auto error = SelectionError(o)) return error;
  return UnrepresentablePath(o);
}

long ErrorNumberOf(const std::string& errorDescription) {
  std::size_t at = errorDescription.find_first_not_of(" \t");
  if (at == std::string::npos) return 0;
  if (errorDescription.compare(at, 7, "ERROR:-") == 0) at += 7;
  return std::strtol(errorDescription.c_str() + at, nullptr, 10);
}

}  // namespace tqlm::cli
