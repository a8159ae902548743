// The command line's words, parsed.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tqlm::cli {

enum class Command { Generate, Call, InitRepository, Help };

// Values of the options, as given (UTF-8); absent options are empty.
struct Options {
  Command command = Command::Help;
  bool legacy = false;
  std::optional<std::string> repository, profile, xmlPath, log;
  std::optional<std::string> packageFrom, packageTo, moduleFrom, moduleTo, tableFrom, tableTo;
  std::optional<std::string> list, option, schemaIniPath, user;
  std::optional<bool> traverse;
  bool checkedOut = false, split = false, include2GBCheck = false, clear = false, json = false, wait = false;
  std::vector<std::string> positional;  // METHOD and ARGs, or FILE and SCRIPTs
};

struct UsageError {
  std::string message;
};

// Parses argv[1..]; a malformed command line gives a UsageError.
std::optional<Options> ParseOptions(int argc, char** argv, UsageError& error);

extern const char* const kUsage;

}  // namespace tqlm::cli
