#include "checks.h"

#include <algorithm>
#include <fstream>
#include <iostream>
#include <set>

#include <tqlm/text.h>
#include <tqlm/error.h>
#include <tqlm/files.h>
#include <tqlm/repository.h>
#include "setting.h"

namespace tqlm::cli {

namespace {

// The first bytes of every SQLite database file.
constexpr std::string_view kSqliteHeader{"SQLite format 3\0", 16};

// What a file begins with, up to `size` bytes.
std::string Head(const std::string& utf8Path, std::size_t size) {
  std::ifstream in(utf8Path, std::ios::binary);
  std::string bytes(size, '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(size));
  bytes.resize(static_cast<std::size_t>(std::max<std::streamsize>(0, in.gcount())));
  return bytes;
}

}  // namespace

std::optional<std::string> RepositoryProblem(const std::string& repository) {
  const std::string file = RepositoryFile(Ansi(repository));
  if (file.empty()) return std::nullopt;  // a server
  const std::string shown = AnsiToUtf8(file);
  if (fs::FolderExists(file)) return "--repository: " + shown + " is a folder, not a SQLite file";
  if (!fs::FileExists(file)) return "--repository: no such file: " + shown;
  // An empty file is an empty database to SQLite.
  const std::string head = Head(shown, kSqliteHeader.size());
  if (!head.empty() && head != kSqliteHeader) return "--repository: not a SQLite file: " + shown;
  if (!HoldsRepositoryTables(Ansi(repository)))
    return "no repository tables in " + shown + " (create them with init-repository)";
  return std::nullopt;
}

std::vector<std::string> ListWarnings(const Options& o, const std::vector<ObjectRecord>& objects) {
  std::vector<std::string> warnings;
  if (!o.list) return warnings;
  const bool traverse = o.traverse.value_or(!o.legacy);
  std::set<std::string> said;
  for (const std::string& code : CommaSeparated(Ansi(*o.list))) {
    if (code.empty() || !said.insert(code).second) continue;
    bool selected = false, found = false;
    for (const ObjectRecord& r : objects) {
      // A code of the generator holds its parts in their widths.
      std::string packed = r.code;
      packed.erase(std::remove(packed.begin(), packed.end(), ' '), packed.end());
      if (r.code != code && packed != code) continue;
      selected = true;
      found = found || r.outcome != ObjectOutcome::NoMappings;
    }
    const std::string shown = AnsiToUtf8(code);
    if (!selected)
      warnings.push_back("--list " + shown + ": the target application has no table " + shown +
                         ", so nothing is selected for it");
    else if (!found)
      warnings.push_back("--list " + shown + ": profile " + *o.profile +
                         (traverse ? " and the profiles it was derived from hold" : " holds") +
                         " no mapping object for it with a status the run exports (the log will show a WARNING" +
                         (traverse ? ")" : "; --traverse searches the profiles it was derived from)"));
  }
  return warnings;
}

std::vector<std::string> RangeWarnings(const Options& o) {
  struct Bound {
    const char* option;
    const std::optional<std::string>& value;
    const char* part;  // what it bounds
    int width;         // in the generator class
    bool upper;
  };
  const Bound bounds[] = {{"--package-from", o.packageFrom, "package", 2, false},
                          {"--module-from", o.moduleFrom, "module", 3, false},
                          {"--table-from", o.tableFrom, "table number", 3, false},
                          {"--package-to", o.packageTo, "package", 2, true},
                          {"--module-to", o.moduleTo, "module", 3, true},
                          {"--table-to", o.tableTo, "table number", 3, true}};
  std::vector<std::string> warnings;
  const auto given =
      std::count_if(std::begin(bounds), std::end(bounds), [](const Bound& b) { return b.value.has_value(); });
  if (given == 0 || given == static_cast<long>(std::size(bounds))) return warnings;
  for (const Bound& b : bounds) {
    if (b.value) continue;
    // A legacy run makes the table bounds of a target application in the
    // data dictionary three digits ("000" for an empty one).
    const bool table = std::string_view(b.option).rfind("--table", 0) == 0;
    std::string taken;
    if (!o.legacy)
      taken = "\"" + std::string(b.width, ' ') + "\" (blanks, below every " + b.part + ")";
    else if (table)
      taken = "\"\" (an empty text; \"000\" where the target tables are in the data dictionary)";
    else
      taken = std::string("\"\" (an empty text, below every ") + b.part + ")";
    const char* effect = !b.upper ? ": no lower bound"
                         : o.legacy && table ? ": nothing above it is selected"
                                             : ": the range selects nothing";
    warnings.push_back(std::string("the range lacks ") + b.option + ": the run takes " + taken + effect);
  }
  return warnings;
}

void PrintWarnings(const std::vector<std::string>& warnings) {
  for (const std::string& warning : warnings) std::cerr << "warning: " << warning << "\n";
}

}  // namespace tqlm::cli
