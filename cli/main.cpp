// tqlm-xmlgen: drives the component from the command line.
//
//   generate          sets the properties given, in the order a client sets
//                     them, and runs GenerateXMLFile
//   plan              the same selection and search, writing nothing
//   call              invokes one public method on a fresh object
//   decode            Base64 documents back to their XML text
//   init-repository   creates an empty repository (and loads SQL scripts)
//   help              the help of a command
//
// --legacy chooses ClsXMLLegacy instead of ClsXMLGenerator.
//
// Exit status: 0 when the component answered True (or a text) and, for
// generate, every document was written; 3 when some objects failed; 1 when
// it answered False or a property could not be set; 2 for a usage error.

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "call.h"
#include "checks.h"
#include <tqlm/plan.h>
#include "decode.h"
#include <tqlm/cls_xml_generator.h>
#include <tqlm/cls_xml_legacy.h>
#include "json.h"
#include "options.h"
#include "plan.h"
#include <tqlm/text.h>
#include <tqlm/error.h>
#include <tqlm/files.h>
#include <tqlm/textstream.h>
#include "progress.h"
#include <tqlm/repository.h>
#include "selection.h"
#include "setting.h"

namespace tqlm::cli {
namespace {

int Usage(const std::string& message) { return UsageError(message); }

template <class Class>
void PrintOutcome(const Class& object, const Options& o, bool result) {
  if (o.json) {
    // The codes of the objects whose document (or M-script's document) was
    // written, one for each success, in the run's order.
    std::string written;
    for (const ObjectRecord& r : object.PlannedObjects())
      if (r.outcome == ObjectOutcome::Written || r.outcome == ObjectOutcome::MScriptWritten)
        written += (written.empty() ? "" : ", ") + JsonString(r.code);
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
    json.Add("written", "[" + written + "]");
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

// The line a failed run wrote to its log, for standard error: without the
// tabs and the line end the legacy class gives it, "ERROR: " ahead where it
// has no such head.
std::string RunErrorLine(const std::string& errorDescription) {
  const std::size_t first = errorDescription.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return "ERROR:";
  const std::size_t last = errorDescription.find_last_not_of(" \t\r\n");
  const std::string line = AnsiToUtf8(errorDescription.substr(first, last - first + 1));
  return line.rfind("ERROR:", 0) == 0 ? line : "ERROR: " + line;
}

// What a check found: each file a run would change, with how, on standard
// output (or as lists in the JSON line); the exit status.
template <class Class>
int CheckOutcome(const Class& object, const Options& o, bool result) {
  std::vector<std::string> lists[3];  // changed, new, gone
  for (const CheckedFile& file : object.CheckedFiles())
    lists[static_cast<int>(file.change)].push_back(file.path);
  constexpr const char* kWords[] = {"changed", "new", "gone"};
  if (o.json) {
    JsonObject json;
    json.AddBool("result", result);
    for (int i = 0; i < 3; ++i) {
      std::string items;
      for (const std::string& path : lists[i]) items += (items.empty() ? "" : ", ") + JsonString(path);
      json.Add(kWords[i], "[" + items + "]");
    }
    json.AddString("ErrorDescription", object.ErrorDescription());
    std::cout << json.Text() << "\n";
  } else {
    for (int i = 0; i < 3; ++i)
      for (const std::string& path : lists[i]) std::cout << kWords[i] << " " << AnsiToUtf8(path) << "\n";
  }
  if (!result) {
    std::cerr << RunErrorLine(object.ErrorDescription()) << "\n";
    return kExitFalse;
  }
  return object.CheckedFiles().empty() ? kExitTrue : kExitWouldChange;
}

// What --log and --clear would destroy: a log path that is the repository
// or a file of another program's; an output folder that is or holds the
// root, the home or the working folder, the repository, the log or
// Schema.ini, or (without --clear-all) anything this tool did not write.
std::optional<std::string> Refusal(const Options& o) {
  // Said here, naming the file, rather than by the run's backend message
  // after the output folder was made.
  if (auto problem = RepositoryProblem(*o.repository)) return problem;
  const std::string repository = RepositoryFile(Ansi(*o.repository));
  const std::string xml = Ansi(Trimmed(*o.xmlPath));
  if (o.log) {
    const std::string log = Ansi(*o.log);
    if (!repository.empty() && fs::SameFile(log, repository)) return "--log " + *o.log + " names the repository file";
    if (!fs::MayOverwriteLog(log))
      return "--log " + *o.log + " names a file that is no log of this tool (nor empty): it stays as it is";
  }
  const bool clear = o.clear || o.clearAll;
  if (!clear) return std::nullopt;
  const std::string option = o.clearAll ? "--clear-all " : "--clear ";
  const std::pair<const char*, std::string> kept[] = {
      {"the repository", repository},
      {"the log file", o.log ? Ansi(*o.log) : std::string()},
      {"the Schema.ini folder", o.schemaIniPath && o.legacy ? Ansi(*o.schemaIniPath) : std::string()}};
  for (const auto& [what, path] : kept)
    if (!path.empty() && fs::Encloses(xml, path)) return option + *o.xmlPath + " would delete " + what;
  if (fs::IsProtectedFolder(xml))
    return option + *o.xmlPath + " would delete the root, the home or the working folder";
  if (!o.clearAll && fs::FolderExists(xml)) {
    constexpr std::size_t kNamed = 5;
    const std::vector<std::string> foreign = fs::ForeignEntries(xml, kNamed + 1);
    if (!foreign.empty()) {
      std::string names;
      for (std::size_t i = 0; i < std::min(foreign.size(), kNamed); ++i)
        names += (i == 0 ? "" : ", ") + AnsiToUtf8(foreign[i]);
      if (foreign.size() > kNamed) names += ", ...";
      return "--clear " + *o.xmlPath + " holds what this tool did not write (" + names +
             "): nothing was deleted; --clear-all empties the folder whatever it holds";
    }
  }
  return std::nullopt;
}

// Sets the properties in the order of the class's interface, as a client
// would, and runs the generation, holding the output folder for the run.
template <class Class>
int Generate(const Options& o) {
  if (auto refusal = Refusal(o)) return Usage(*refusal);
  // Before the run, on standard error: a selection that will not select
  // what it seems to.
  PrintWarnings(RangeWarnings(o));
  if (o.list)
    if (auto planned = PlannedObjects<Class>(o)) PrintWarnings(ListWarnings(o, *planned));
  Class object;
  fs::FolderLock lock;
  std::string made;  // the outermost output folder this run created
  std::unique_ptr<ProgressLine> progress;
  // The progress line never shares a line with the log: by default there is
  // none where the log goes to the same terminal, and asked for there, it is
  // taken away before each piece of the log.
  const bool logBesideProgress = !o.log && SameTerminal(stdout, stderr);
  if (o.progress.value_or(::isatty(STDERR_FILENO) == 1 && !logBesideProgress))
    progress = std::make_unique<ProgressLine>(stderr);
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
    const std::string xml = Ansi(Trimmed(*o.xmlPath));
    // A check touches nothing in the run's folders.
    if (!o.check) {
      // The command line makes the output folder, with its parents.
      if (!fs::FolderExists(xml)) SetOption("--xml-path", *o.xmlPath, [&] { made = fs::CreateFolders(xml); });
      lock.Acquire(xml, o.wait);
      if (o.clear || o.clearAll)
        SetOption(o.clearAll ? "--clear-all" : "--clear", *o.xmlPath, [&] { object.ClearXMLDirectory(kTrue); });
      // Clearing a link to a folder makes a folder of its own, to hold too.
      if (!lock.Holds(xml)) lock.Acquire(xml, o.wait);
    }
    std::shared_ptr<TextStream> log;
    if (o.log)
      SetOption("--log", *o.log, [&] { log = CreateTextFile(Ansi(*o.log)); });
    else if (o.check)
      log = std::make_shared<NullTextStream>();
    else if (progress && logBesideProgress)
      log = std::make_shared<LogBesideProgress>(stdout, *progress);
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
  object.SetSync(!o.noSync);
  long statements = 0;
  if (o.stats) object.SetStatementObserver([&statements](std::string_view) { ++statements; });
  if (o.check) {
    const bool checked = IsTrue(object.Check(o.clear || o.clearAll));
    if (progress) progress->Finish();
    return CheckOutcome(object, o, checked);
  }
  bool result = IsTrue(object.GenerateXMLFile());
  if (progress) progress->Finish();
  // A run that failed before writing anything leaves no folder it made.
  if (!result) fs::RemoveEmptyFolders(Ansi(Trimmed(*o.xmlPath)), made);
  if (o.stats)
    std::cerr << "statements: " << statements << "  sent: " << object.StatementsSent()
              << "  prepared: " << object.StatementsPrepared() << "  read ahead: " << object.StatementsReadAhead()
              << "\n";
  std::fflush(stdout);
  // The log on standard output may be read by a program or scroll away:
  // the line that says why the run failed goes to standard error too.
  if (!result && !o.log) std::cerr << RunErrorLine(object.ErrorDescription()) << "\n";
  PrintOutcome(object, o, result);
  if (!result) return kExitFalse;
  return object.XMLErrors() > 0 ? kExitSomeFailed : kExitTrue;
}

int Generate(const Options& o) {
  if (auto error = ProfileOptionError(o)) return Usage(*error);
  if (o.legacy) return Generate<ClsXMLLegacy>(o);
  if (o.schemaIniPath) return Usage("--schema-ini-path belongs to the legacy class (--legacy)");
  return Generate<ClsXMLGenerator>(o);
}

// A server's string without its password; a file's name as given.
std::string ShownRepository(const std::string& repository) {
  return RepositoryFile(Ansi(repository)).empty() ? AnsiToUtf8(ShownConnectionString(Ansi(repository))) : repository;
}

int InitRepository(const Options& o) {
  if (o.positional.empty()) return Usage("init-repository needs a repository");
  std::vector<std::string> scripts;
  for (std::size_t i = 1; i < o.positional.size(); ++i) scripts.push_back(Ansi(o.positional[i]));
  try {
    CreateRepository(Ansi(o.positional.front()), scripts);
  } catch (const Raised& raised) {
    // The repository is named, unless the error is about a script it names.
    const std::string& description = raised.error().description;
    for (const std::string& script : scripts)
      if (description.find(script) != std::string::npos) return SetterFailed(raised);
    return SetterFailed(raised, ShownRepository(o.positional.front()));
  }
  std::cout << "Repository created: " << ShownRepository(o.positional.front()) << "\n";
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
