// The command line's words, parsed.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tqlm::cli {

enum class Command { Generate, Call, Plan, Decode, InitRepository };

// Values of the options, as given (UTF-8); absent options are empty.
struct Options {
  Command command = Command::Generate;
  bool legacy = false;
  std::optional<std::string> repository, profile, xmlPath, log;
  std::optional<std::string> packageFrom, packageTo, moduleFrom, moduleTo, tableFrom, tableTo;
  std::optional<std::string> list, option, schemaIniPath, user, out;
  std::optional<bool> traverse, progress;
  std::optional<int> jobs;
  std::optional<int> statementTimeout;
  bool all = false, checkedOut = false, split = false, include2GBCheck = false, clear = false, clearAll = false, check = false, noSync = false, json = false,
       wait = false, utf8 = false, stats = false;
  std::vector<std::string> positional;  // METHOD and ARGs, FILE and SCRIPTs, or PATHs
};

// What the parse ended in: options to act on, or an exit status (help and
// --version printed: 0; a usage error printed: 2).
struct Parsed {
  std::optional<Options> options;
  int exit = 0;
};

Parsed ParseOptions(int argc, char** argv);

// Prints a usage error naming what is wrong, and where help is; returns 2.
int UsageError(const std::string& message);

}  // namespace tqlm::cli
