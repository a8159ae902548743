// tqlm-xmlgen: drives the component from the command line.
//
//   generate          sets the properties given, in the order a client sets
//                     them, and runs GenerateXMLFile
//   plan              the same selection and search, writing nothing
//   call              invokes one public method on a fresh object
//   decode            Base64 documents back to their XML text
//   init-repository   creates an empty repository (and loads SQL scripts)
//
// --legacy chooses ClsXMLLegacy instead of ClsXMLGenerator.
//
// Exit status: 0 when the component answered True (or a text) and, for
// generate, every document was written; 3 when some objects failed; 1 when
// it answered False or a property could not be set; 2 for a usage error.

#include <unistd.h>

#include <cstdio>
#include <functional>
#include <algorithm>
#include <iostream>
#include <memory>
#include <string>
#include <thread>
#include <type_traits>
#include <vector>

#include "interface/cls_xml_generator.h"
#include "interface/cls_xml_legacy.h"
#include "core/component.h"
#include "decode.h"
#include "json.h"
#include "options.h"
#include "progress.h"
#include "platform/codepage.h"
#include "platform/error.h"
#include "platform/filesystem.h"
#include "platform/text.h"
#include "platform/textstream.h"
#include "repository/connection.h"
#include "repository/schema.h"
#include "repository/server_connection.h"

namespace tqlm::cli {
namespace {

constexpr int kExitTrue = 0;
constexpr int kExitFalse = 1;
constexpr int kExitUsage = 2;
constexpr int kExitSomeFailed = 3;  // True, but XMLErrors > 0

int Usage(const std::string& message) { return UsageError(message); }

// A property setter (or the opening of the log file) that failed; the option
// that set it is named after the error line.
int SetterFailed(const Raised& raised, const std::string& option = {}) {
  std::cerr << "ERROR: " << raised.error().number << ":" << AnsiToUtf8(raised.error().description);
  if (!option.empty()) std::cerr << " (" << option << ")";
  std::cerr << "\n";
  return kExitFalse;
}

// Raised with the option whose value caused it.
struct OptionFailed {
  Raised raised;
  std::string option;
};

// Runs a setter; its error names the option.
template <class Setter>
void SetOption(const std::string& option, const std::string& value, Setter&& set) {
  try {
    set();
  } catch (const Raised& raised) {
    throw OptionFailed{raised, option + " " + value};
  }
}

std::string Ansi(const std::string& utf8) { return Utf8ToAnsi(utf8); }


// An integer argument: an optional sign and decimal digits.
bool IsInteger(std::string_view text) {
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
  if (text.empty()) return false;
  for (char ch : text)
    if (ch < '0' || ch > '9') return false;
  return true;
}

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

// The properties a generation and a plan share, in the client's order from
// the range bounds on.
template <class Class>
void SetSelection(Class& object, const Options& o) {
  if (o.all) {
    // The widest range: the lowest and highest texts of each part.
    const std::string highest(3, '\xFF');
    object.PackageFrom("");
    object.ModuleFrom("");
    object.TableFrom("");
    object.PackageTo(highest.substr(0, 2));
    object.ModuleTo(highest);
    object.TableTo(highest);
  }
  if (o.packageFrom) object.PackageFrom(Ansi(*o.packageFrom));
  if (o.moduleFrom) object.ModuleFrom(Ansi(*o.moduleFrom));
  if (o.tableFrom) object.TableFrom(Ansi(*o.tableFrom));
  if (o.packageTo) object.PackageTo(Ansi(*o.packageTo));
  if (o.moduleTo) object.ModuleTo(Ansi(*o.moduleTo));
  if (o.tableTo) object.TableTo(Ansi(*o.tableTo));
  if (o.list) object.ListOfMappingObjectsSelected(Ansi(*o.list));
  if constexpr (!kLegacy<Class>) {
    if (o.option)
      SetOption("--option", *o.option, [&] {
        object.XMLGenerationOption(static_cast<EnumGenerateXML>(CLngText(Ansi(*o.option))));
      });
  }
  if (o.traverse) object.TraverseGeneration(ToVb(*o.traverse));
  if (o.checkedOut) object.ConsiderCheckedOutVersions(kTrue);
}

template <class Class>
void PrintOutcome(const Class& object, const Options& o, bool result) {
  if (o.json) {
    JsonObject json;
    json.AddBool("result", result)
        .AddNumber("XMLSuccess", object.XMLSuccess())
        .AddNumber("XMLWarnings", object.XMLWarnings())
        .AddNumber("XMLErrors", object.XMLErrors())
        .AddString("ErrorDescription", object.ErrorDescription());
    if constexpr (!kLegacy<Class>) {
      json.AddString("ListOfXMLGenerated", object.ListOfXMLGenerated())
          .AddNumber("NoOfXMLGenerated", object.NoOfXMLGenerated());
    }
    std::cout << json.Text() << "\n";
    return;
  }
  std::cout << "\nDocuments: " << *o.xmlPath << "\n"
            << "Result: " << (result ? "True" : "False") << "\n"
            << "XMLSuccess: " << object.XMLSuccess() << "  XMLWarnings: " << object.XMLWarnings()
            << "  XMLErrors: " << object.XMLErrors();
  if constexpr (!kLegacy<Class>) std::cout << "  NoOfXMLGenerated: " << object.NoOfXMLGenerated();
  std::cout << "\n";
  if (!result) std::cout << "ErrorDescription: " << AnsiToUtf8(object.ErrorDescription()) << "\n";
}

// What --log and --clear would destroy: a log path that is the repository
// or a file no log of ours could be; an output folder that holds the
// repository, the log or Schema.ini (the platform refuses the root, the home
// and the working folder itself).
std::optional<std::string> Refusal(const Options& o) {
  const std::string repository = RepositoryFile(Ansi(*o.repository));
  const std::string xml = Ansi(*o.xmlPath);
  // Said here, naming the file, rather than by the run's backend message
  // after the output folder was made.
  if (!repository.empty() && !fs::FileExists(repository))
    return "--repository: no such file: " + *o.repository;
  if (o.log) {
    const std::string log = Ansi(*o.log);
    if (!repository.empty() && fs::SameFile(log, repository)) return "--log names the repository file";
    if (!fs::CouldBeLog(log)) return "--log names a file that is no log of this tool: " + *o.log;
  }
  if (o.clear) {
    const std::pair<const char*, std::string> kept[] = {
        {"the repository", repository},
        {"the log file", o.log ? Ansi(*o.log) : std::string()},
        {"the Schema.ini folder", o.schemaIniPath && o.legacy ? Ansi(*o.schemaIniPath) : std::string()}};
    for (const auto& [what, path] : kept)
      if (!path.empty() && fs::Encloses(xml, path)) return std::string("--clear would delete ") + what;
    if (fs::IsProtectedFolder(xml)) return "--clear would delete the root, the home or the working folder";
  }
  return std::nullopt;
}

// Sets the properties in the order of the class's interface, as a client
// would, and runs the generation, holding the output folder for the run.
template <class Class>
int Generate(const Options& o) {
  if (auto refusal = Refusal(o)) return Usage(*refusal);
  Class object;
  fs::FolderLock lock;
  std::string made;  // the outermost output folder this run created
  std::unique_ptr<ProgressLine> progress;
  if (o.progress.value_or(::isatty(STDERR_FILENO) == 1)) progress = std::make_unique<ProgressLine>(stderr);
  object.SetProgressObserver([&progress, warned = false](VbLong done, VbLong total) mutable {
    // The counters the class publishes are Integers: the generator stops
    // when one passes 32,767, the legacy class when it publishes them.
    if (!warned && total > 32767) {
      warned = true;
      if (progress) progress->Finish();
      std::cerr << "warning: " << total << " objects selected; "
                << (kLegacy<Class> ? "a run that counts more than 32,767 documents, warnings or errors writes them "
                                     "but ends with error 6 (Overflow), without its summary and side files"
                                   : "a run stops with error 6 (Overflow) when it counts more than 32,767 "
                                     "documents, warnings or errors")
                << ": select ranges of at most 32,767 objects\n";
    }
    if (progress) progress->Update(done, total);
  });
  try {
    object.ConnectionString(Ansi(*o.repository));
    if (o.statementTimeout) object.SetStatementTimeout(*o.statementTimeout);
    SetProfile(object, *o.profile);
    object.XMLPath(Ansi(*o.xmlPath));
    const std::string xml = Ansi(Trim(*o.xmlPath));
    // The command line makes the output folder, with its parents.
    if (!fs::FolderExists(xml)) SetOption("--xml-path", *o.xmlPath, [&] { made = fs::CreateFolders(xml); });
    lock.Acquire(xml, o.wait);
    if (o.clear) object.ClearXMLDirectory(kTrue);
    // Clearing a link to a folder makes a folder of its own, to hold too.
    if (!lock.Holds(xml)) lock.Acquire(xml, o.wait);
    // Temporary files of a run that was killed in this folder go now.
    fs::RemoveTemporaryFiles(xml);
    std::shared_ptr<TextStream> log;
    if (o.log)
      log = CreateTextFile(Ansi(*o.log));
    else
      log = std::make_shared<StdioTextStream>(stdout);
    object.LogFileName(log);
    SetSelection(object, o);
    if (o.split) object.SplitVorps(kTrue);
    if constexpr (kLegacy<Class>) {
      // The generator's options (--option, --include-2gb-check) mean nothing
      // here. Schema.ini goes beside the documents unless told otherwise.
      object.SchemaINIPath(Ansi(o.schemaIniPath ? *o.schemaIniPath : *o.xmlPath));
    } else {
      if (o.include2GBCheck) object.Include2GBCheck(kTrue);
    }
    if (o.user) object.UserName(Ansi(*o.user));
  } catch (const OptionFailed& failed) {
    return SetterFailed(failed.raised, failed.option);
  } catch (const Raised& raised) {
    return SetterFailed(raised);
  }
  object.SetWorkers(o.jobs.value_or(static_cast<int>(std::max(1u, std::thread::hardware_concurrency()))));
  long statements = 0;
  if (o.stats) object.SetStatementObserver([&statements](std::string_view) { ++statements; });
  bool result = IsTrue(object.GenerateXMLFile());
  if (progress) progress->Finish();
  // A run that failed before writing anything leaves no folder it made.
  if (!result) fs::RemoveEmptyFolders(Ansi(Trim(*o.xmlPath)), made);
  if (o.stats)
    std::cerr << "statements: " << statements << "  sent: " << object.StatementsSent()
              << "  prepared: " << object.StatementsPrepared() << "\n";
  std::fflush(stdout);
  PrintOutcome(object, o, result);
  if (!result) return kExitFalse;
  return object.XMLErrors() > 0 ? kExitSomeFailed : kExitTrue;
}

// What is wrong with the options of generate and plan, before anything runs.
std::optional<std::string> ProfileOptionError(const Options& o) {
  if (!IsInteger(*o.profile)) return "--profile: '" + *o.profile + "' is not a whole number";
  if (o.option && !(o.option->size() == 1 && (*o.option)[0] >= '0' && (*o.option)[0] <= '5'))
    return "--option: '" + *o.option + "' is not one of 0 to 5";
  if (auto error = SelectionError(o)) return error;
  return UnrepresentablePath(o);
}

int Generate(const Options& o) {
  if (auto error = ProfileOptionError(o)) return Usage(*error);
  if (o.legacy) return Generate<ClsXMLLegacy>(o);
  if (o.schemaIniPath) return Usage("--schema-ini-path belongs to the legacy class (--legacy)");
  return Generate<ClsXMLGenerator>(o);
}

std::string OutcomeText(ObjectOutcome outcome) {
  switch (outcome) {
    case ObjectOutcome::Written: return "write its document";
    case ObjectOutcome::Failed: return "fail";
    case ObjectOutcome::MScriptWritten: return "write its M-script's document";
    case ObjectOutcome::MScriptFailed: return "fail: its M-script has no parent";
    case ObjectOutcome::MScriptMemberSkipped: return "skip: handled with its M-script";
    case ObjectOutcome::NoMappings: return "warning: no mappings maintained";
    case ObjectOutcome::Expired: return "skip: expired";
    case ObjectOutcome::StatusError: return "skip as an error: status E";
    case ObjectOutcome::CommentOnly: return "skip: comment only";
    case ObjectOutcome::NoRules: return "skip: no rules maintained";
    case ObjectOutcome::NullSourceTables: return "skip: no source tables";
  }
  return {};
}

// Lists what a run would do with each selected object.
template <class Class>
int Plan(const Options& o) {
  Class object;
  try {
    object.ConnectionString(Ansi(*o.repository));
    if (o.statementTimeout) object.SetStatementTimeout(*o.statementTimeout);
    SetProfile(object, *o.profile);
    SetSelection(object, o);
  } catch (const OptionFailed& failed) {
    return SetterFailed(failed.raised, failed.option);
  }
  const bool result = IsTrue(object.Plan());
  const auto& objects = object.State().run.objects;
  if (o.json) {
    std::string list;
    for (const ObjectRecord& r : objects) {
      JsonObject item;
      item.AddString("code", r.code).AddString("status", r.status).AddNumber("profile", r.profile);
      item.AddString("triple", r.vers + r.rele + r.cust).AddString("outcome", OutcomeText(r.outcome));
      list += (list.empty() ? "" : ", ") + item.Text();
    }
    JsonObject json;
    json.AddBool("result", result).AddString("ErrorDescription", object.ErrorDescription()).Add("objects", "[" + list + "]");
    std::cout << json.Text() << "\n";
  } else {
    std::printf("%-12s %-6s %-8s %-12s %s\n", "object", "status", "profile", "V-R-C", "a run would");
    for (const ObjectRecord& r : objects) {
      const std::string triple = r.status.empty() ? "" : r.vers + "-" + r.rele + "-" + r.cust;
      std::printf("%-12s %-6s %-8s %-12s %s\n", AnsiToUtf8(r.code).c_str(), r.status.c_str(),
                  r.status.empty() ? "" : std::to_string(r.profile).c_str(), AnsiToUtf8(triple).c_str(),
                  OutcomeText(r.outcome).c_str());
    }
    if (!result) std::cout << "ErrorDescription: " << AnsiToUtf8(object.ErrorDescription()) << "\n";
  }
  return result ? kExitTrue : kExitFalse;
}

int Plan(const Options& o) {
  if (auto error = ProfileOptionError(o)) return Usage(*error);
  return o.legacy ? Plan<ClsXMLLegacy>(o) : Plan<ClsXMLGenerator>(o);
}

// What a method call answers: its result as JSON and as text, the exit
// status it asks for, and the by-reference output argument where the method
// has one.
struct CallResult {
  std::string json;
  std::string text;
  std::optional<std::string> out;
  int exit = kExitTrue;
};

using Arguments = std::vector<std::string>;

CallResult BooleanResult(VbBoolean value, std::optional<std::string> out = std::nullopt) {
  const bool result = IsTrue(value);
  return {result ? "true" : "false", result ? "True" : "False", std::move(out), result ? kExitTrue : kExitFalse};
}
CallResult TextResult(const std::string& text, std::optional<std::string> out = std::nullopt) {
  return {JsonString(text), text, std::move(out)};
}
CallResult LongResult(long long value) { return {std::to_string(value), std::to_string(value), std::nullopt}; }

// A connection description shows its password only where standard output is
// not a terminal (a file or a pipe that asked for it).
std::string HidePasswordOnTerminal(std::string text) {
  if (!::isatty(STDOUT_FILENO)) return text;
  const std::size_t open = text.find("<pswd>");
  const std::size_t close = text.find("</pswd>");
  if (open == std::string::npos || close == std::string::npos || close < open) return text;
  return text.replace(open + 6, close - open - 6, "********");
}

// A public method as `call` knows it, for each class that has it (empty:
// the class has no such method).
struct MethodInfo {
  const char* name;
  int arguments;
  std::function<CallResult(ClsXMLGenerator&, const Arguments&)> generator;
  std::function<CallResult(ClsXMLLegacy&, const Arguments&)> legacy;
};

// The methods both classes have alike: a Boolean and an output argument.
template <class Class>
CallResult ReplaceEmptyDefaultTarget(Class& object, const Arguments& a) {
  std::string out;
  const VbBoolean result = object.Replace_Empty_Default_Target(a[0], a[1], a[2], out);
  return BooleanResult(result, out);
}
template <class Class>
CallResult AddSplitQueries(Class& object, const Arguments& a) {
  std::string out;
  const VbBoolean result = object.AddSplitQueries_to_Precondition(a[0], a[1], a[2], out);
  return BooleanResult(result, out);
}

// The public methods `call` knows; arguments are Windows-1252 texts.
const MethodInfo kMethods[] = {
    {"RowSizeofTable", 2,
     [](ClsXMLGenerator& g, const Arguments& a) { return LongResult(g.RowSizeofTable(a[0], a[1])); }, nullptr},
    {"Replace_Empty_Default_Target", 3, ReplaceEmptyDefaultTarget<ClsXMLGenerator>,
     ReplaceEmptyDefaultTarget<ClsXMLLegacy>},
    {"AddSplitQueries_to_Precondition", 3, AddSplitQueries<ClsXMLGenerator>, AddSplitQueries<ClsXMLLegacy>},
    {"get_split_fields", 3,
     [](ClsXMLGenerator& g, const Arguments& a) {
       std::string stored;
       std::string fields = g.get_split_fields(a[0], a[1], a[2], stored);
       return TextResult(fields, stored);
     },
     [](ClsXMLLegacy& l, const Arguments& a) { return TextResult(l.get_split_fields(a[0], a[1], a[2])); }},
    {"GetConnStr", 2, nullptr,
     [](ClsXMLLegacy& l, const Arguments& a) { return TextResult(HidePasswordOnTerminal(l.GetConnStr(a[0], a[1]))); }},
    {"GetFromToRange", 0, nullptr, [](ClsXMLLegacy& l, const Arguments&) { return TextResult(l.GetFromToRange()); }},
    // The profile number is an Integer here (error 6 outside).
    {"ConstructSplitInfoFile", 2, nullptr,
     [](ClsXMLLegacy& l, const Arguments& a) { return BooleanResult(l.ConstructSplitInfoFile(CIntText(a[0]), a[1])); }},
};

template <class Class, class Call>
int Invoke(const Call& call, const Options& o) {
  Class object;
  std::shared_ptr<TextStream> log = std::make_shared<StdioTextStream>(stderr);
  Arguments args;
  for (std::size_t i = 1; i < o.positional.size(); ++i) args.push_back(Ansi(o.positional[i]));
  CallResult result;
  try {
    object.ConnectionString(Ansi(*o.repository));
    if (o.statementTimeout) object.SetStatementTimeout(*o.statementTimeout);
    if (o.profile) SetProfile(object, *o.profile);
    if (o.xmlPath) object.XMLPath(Ansi(*o.xmlPath));
    object.LogFileName(log);
    if (o.checkedOut) object.ConsiderCheckedOutVersions(kTrue);
    if (o.split) object.SplitVorps(kTrue);
    result = call(object, args);
  } catch (const OptionFailed& failed) {
    return SetterFailed(failed.raised, failed.option);
  } catch (const Raised& raised) {
    return SetterFailed(raised);
  }
  if (o.json) {
    JsonObject json;
    json.Add("result", result.json);
    if (result.out) json.AddString("out", *result.out);
    std::cout << json.Text() << "\n";
  } else {
    std::cout << AnsiToUtf8(result.text) << "\n";
    if (result.out) std::cout << AnsiToUtf8(*result.out) << "\n";
  }
  return result.exit;
}

int Call(const Options& o) {
  if (!o.repository) return Usage("call needs --repository");
  if (o.positional.empty()) return Usage("call needs a METHOD");
  if (o.profile && !IsInteger(*o.profile)) return Usage("--profile takes a whole number");
  const std::string& name = o.positional.front();
  if (name == "ConstructSplitInfoFile" && o.positional.size() > 1 && !IsInteger(o.positional[1]))
    return Usage("ConstructSplitInfoFile takes a whole number as MPRF");
  for (const MethodInfo& method : kMethods) {
    if (name != method.name) continue;
    // A class without the method has no entry for it.
    if (o.legacy ? !method.legacy : !method.generator)
      return Usage(name + (o.legacy ? " is a method of the generator class (without --legacy)"
                                    : " is a method of the legacy class (--legacy)"));
    if (static_cast<int>(o.positional.size()) - 1 != method.arguments)
      return Usage(name + " takes " + std::to_string(method.arguments) + " arguments");
    return o.legacy ? Invoke<ClsXMLLegacy>(method.legacy, o) : Invoke<ClsXMLGenerator>(method.generator, o);
  }
  return Usage("unknown method '" + name + "'");
}

int InitRepository(const Options& o) {
  if (o.positional.empty()) return Usage("init-repository needs a repository");
  std::vector<std::string> scripts;
  for (std::size_t i = 1; i < o.positional.size(); ++i) scripts.push_back(Ansi(o.positional[i]));
  try {
    CreateRepository(Ansi(o.positional.front()), scripts);
  } catch (const Raised& raised) {
    return SetterFailed(raised);
  }
  // A server's string without its password; a file's name as given.
  const std::string& created = o.positional.front();
  std::cout << "Repository created: "
            << (RepositoryFile(Ansi(created)).empty() ? AnsiToUtf8(ShownConnectionString(Ansi(created))) : created)
            << "\n";
  return kExitTrue;
}

}  // namespace
}  // namespace tqlm::cli

int main(int argc, char** argv) {
  using namespace tqlm::cli;
  Parsed parsed = ParseOptions(argc, argv);
  if (!parsed.options) return parsed.exit;
  const Options& options = *parsed.options;
  switch (options.command) {
    case Command::Generate: return Generate(options);
    case Command::Plan: return Plan(options);
    case Command::Call: return Call(options);
    case Command::Decode: return Decode(options);
    case Command::InitRepository: return InitRepository(options);
  }
  return kExitUsage;
}
