#include "options.h"

#include <map>
#include <string_view>

namespace tqlm::cli {

const char* const kUsage =
    "usage:\n"
    "  tqlm-xmlgen generate [--legacy] --repository CONN --profile N --xml-path DIR [--log FILE]\n"
    "      [--package-from X --package-to X --module-from X --module-to X --table-from X --table-to X]\n"
    "      [--list CODES] [--option N] [--traverse | --no-traverse] [--checked-out] [--split]\n"
    "      [--include-2gb-check] [--schema-ini-path DIR] [--clear] [--wait] [--user NAME] [--json]\n"
    "  tqlm-xmlgen call [--legacy] --repository CONN [--profile N] [--xml-path DIR] [--split]\n"
    "      [--checked-out] [--json] METHOD [ARG...]\n"
    "  tqlm-xmlgen init-repository FILE [SCRIPT...]\n"
    "\n"
    "CONN is a SQLite repository file, or sqlite:FILE.\n"
    "\n"
    "Exit status: 0 the run ended and every document was written; 3 the run ended but\n"
    "some objects failed (XMLErrors > 0); 1 the run failed or a property could not be\n"
    "set; 2 a usage error. One run at a time writes into an output folder: another\n"
    "fails at once, or waits for it with --wait.\n";

namespace {

using ValueOption = std::optional<std::string> Options::*;
using FlagOption = bool Options::*;

const std::map<std::string_view, ValueOption>& ValueOptions() {
  static const std::map<std::string_view, ValueOption> options{
      {"--repository", &Options::repository},     {"--profile", &Options::profile},
      {"--xml-path", &Options::xmlPath},          {"--log", &Options::log},
      {"--package-from", &Options::packageFrom},  {"--package-to", &Options::packageTo},
      {"--module-from", &Options::moduleFrom},    {"--module-to", &Options::moduleTo},
      {"--table-from", &Options::tableFrom},      {"--table-to", &Options::tableTo},
      {"--list", &Options::list},                 {"--option", &Options::option},
      {"--schema-ini-path", &Options::schemaIniPath}, {"--user", &Options::user}};
  return options;
}

const std::map<std::string_view, FlagOption>& FlagOptions() {
  static const std::map<std::string_view, FlagOption> options{
      {"--legacy", &Options::legacy},         {"--checked-out", &Options::checkedOut},
      {"--split", &Options::split},           {"--include-2gb-check", &Options::include2GBCheck},
      {"--clear", &Options::clear},           {"--json", &Options::json},
      {"--wait", &Options::wait}};
  return options;
}

std::optional<Command> CommandNamed(std::string_view word) {
  if (word == "generate") return Command::Generate;
  if (word == "call") return Command::Call;
  if (word == "init-repository") return Command::InitRepository;
  if (word == "help" || word == "--help" || word == "-h") return Command::Help;
  return std::nullopt;
}

}  // namespace

std::optional<Options> ParseOptions(int argc, char** argv, UsageError& error) {
  Options options;
  if (argc < 2) {
    error.message = "a command is missing";
    return std::nullopt;
  }
  std::optional<Command> command = CommandNamed(argv[1]);
  if (!command) {
    error.message = std::string("unknown command '") + argv[1] + "'";
    return std::nullopt;
  }
  options.command = *command;
  for (int i = 2; i < argc; ++i) {
    std::string_view word = argv[i];
    // After the method name of `call`, and for init-repository, every word is
    // an argument, even one that starts with "--".
    bool takesPositionalOnly = options.command == Command::InitRepository ||
                               (options.command == Command::Call && !options.positional.empty());
    if (takesPositionalOnly || word.substr(0, 2) != "--") {
      options.positional.emplace_back(word);
      continue;
    }
    if (auto it = ValueOptions().find(word); it != ValueOptions().end()) {
      if (i + 1 >= argc) {
        error.message = std::string(word) + " needs a value";
        return std::nullopt;
      }
      options.*(it->second) = std::string(argv[++i]);
    } else if (auto flag = FlagOptions().find(word); flag != FlagOptions().end()) {
      options.*(flag->second) = true;
    } else if (word == "--traverse" || word == "--no-traverse") {
      bool on = word == "--traverse";
      if (options.traverse && *options.traverse != on) {
        error.message = "--traverse and --no-traverse exclude each other";
        return std::nullopt;
      }
      options.traverse = on;
    } else {
      error.message = "unknown option " + std::string(word);
      return std::nullopt;
    }
  }
  return options;
}

}  // namespace tqlm::cli
