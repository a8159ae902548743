// tqlm-xmlgen: drives the component from the command line.
//
//   generate          sets the properties given, in the order a client sets
//                     them, and runs GenerateXMLFile
//   call              invokes one public method on a fresh object
//   init-repository   creates an empty repository (and loads SQL scripts)
//
// Exit status: 0 when the component answered True, 1 when it answered False
// or a property could not be set, 2 for a usage error.

#include <cstdio>
#include <functional>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "interface/cls_xml_generator.h"
#include "json.h"
#include "options.h"
#include "platform/codepage.h"
#include "platform/error.h"
#include "platform/text.h"
#include "platform/textstream.h"
#include "repository/schema.h"

namespace tqlm::cli {
namespace {

constexpr int kExitTrue = 0;
constexpr int kExitFalse = 1;
constexpr int kExitUsage = 2;

int Usage(const std::string& message) {
  std::cerr << "tqlm-xmlgen: " << message << "\n\n" << kUsage;
  return kExitUsage;
}

// A property setter (or the opening of the log file) that failed.
int SetterFailed(const Raised& raised) {
  std::cerr << "ERROR: " << raised.error().number << ":" << AnsiToUtf8(raised.error().description) << "\n";
  return kExitFalse;
}

std::string Ansi(const std::string& utf8) { return Utf8ToAnsi(utf8); }

// Usage errors for options the chosen class does not have.
std::optional<std::string> UnsupportedOption(const Options& o) {
  if (o.legacy) return "--legacy: the legacy class is not available in this build yet";
  if (o.schemaIniPath) return "--schema-ini-path belongs to the legacy class (--legacy)";
  return std::nullopt;
}

void PrintOutcome(const ClsXMLGenerator& generator, const Options& o, bool result) {
  if (o.json) {
    JsonObject json;
    json.AddBool("result", result)
        .AddNumber("XMLSuccess", generator.XMLSuccess())
        .AddNumber("XMLWarnings", generator.XMLWarnings())
        .AddNumber("XMLErrors", generator.XMLErrors())
        .AddString("ErrorDescription", generator.ErrorDescription())
        .AddString("ListOfXMLGenerated", generator.ListOfXMLGenerated())
        .AddNumber("NoOfXMLGenerated", generator.NoOfXMLGenerated());
    std::cout << json.Text() << "\n";
    return;
  }
  std::cout << "\nDocuments: " << *o.xmlPath << "\n"
            << "Result: " << (result ? "True" : "False") << "\n"
            << "XMLSuccess: " << generator.XMLSuccess() << "  XMLWarnings: " << generator.XMLWarnings()
            << "  XMLErrors: " << generator.XMLErrors() << "  NoOfXMLGenerated: " << generator.NoOfXMLGenerated()
            << "\n";
  if (!result) std::cout << "ErrorDescription: " << AnsiToUtf8(generator.ErrorDescription()) << "\n";
}

int Generate(const Options& o) {
  if (!o.repository || !o.profile || !o.xmlPath) return Usage("generate needs --repository, --profile and --xml-path");
  if (auto unsupported = UnsupportedOption(o)) return Usage(*unsupported);
  if (!o.positional.empty()) return Usage("unexpected argument '" + o.positional.front() + "'");

  ClsXMLGenerator generator;
  try {
    generator.ConnectionString(Ansi(*o.repository));
    generator.MigrationProfile(CIntText(Ansi(*o.profile)));
    generator.XMLPath(Ansi(*o.xmlPath));
    if (o.clear) generator.ClearXMLDirectory(kTrue);
    std::shared_ptr<TextStream> log;
    if (o.log)
      log = CreateTextFile(Ansi(*o.log));
    else
      log = std::make_shared<StdioTextStream>(stdout);
    generator.LogFileName(log);
    if (o.packageFrom) generator.PackageFrom(Ansi(*o.packageFrom));
    if (o.moduleFrom) generator.ModuleFrom(Ansi(*o.moduleFrom));
    if (o.tableFrom) generator.TableFrom(Ansi(*o.tableFrom));
    if (o.packageTo) generator.PackageTo(Ansi(*o.packageTo));
    if (o.moduleTo) generator.ModuleTo(Ansi(*o.moduleTo));
    if (o.tableTo) generator.TableTo(Ansi(*o.tableTo));
    if (o.list) generator.ListOfMappingObjectsSelected(Ansi(*o.list));
    if (o.option) generator.XMLGenerationOption(static_cast<EnumGenerateXML>(CLngText(Ansi(*o.option))));
    if (o.traverse) generator.TraverseGeneration(ToVb(*o.traverse));
    if (o.checkedOut) generator.ConsiderCheckedOutVersions(kTrue);
    if (o.split) generator.SplitVorps(kTrue);
    if (o.include2GBCheck) generator.Include2GBCheck(kTrue);
    if (o.user) generator.UserName(Ansi(*o.user));
  } catch (const Raised& raised) {
    return SetterFailed(raised);
  }
  bool result = IsTrue(generator.GenerateXMLFile());
  std::fflush(stdout);
  PrintOutcome(generator, o, result);
  return result ? kExitTrue : kExitFalse;
}

// What a method call answers: its result as JSON and as text, and the
// by-reference output argument where the method has one.
struct CallResult {
  std::string json;
  std::string text;
  std::optional<std::string> out;
};

using GeneratorMethod = std::function<CallResult(ClsXMLGenerator&, const std::vector<std::string>&)>;

struct MethodInfo {
  const char* name;
  int arguments;
  bool legacyOnly;
  GeneratorMethod call;  // empty: not built yet
};

CallResult LongResult(long long value) { return {std::to_string(value), std::to_string(value), std::nullopt}; }

// The public methods `call` knows; `args` are Windows-1252 texts.
const MethodInfo kMethods[] = {
    {"RowSizeofTable", 2, false,
     [](ClsXMLGenerator& g, const std::vector<std::string>& args) {
       return LongResult(g.RowSizeofTable(args[0], args[1]));
     }},
    {"Replace_Empty_Default_Target", 3, false,
     [](ClsXMLGenerator& g, const std::vector<std::string>& args) {
       std::string out;
       bool result = IsTrue(g.Replace_Empty_Default_Target(args[0], args[1], args[2], out));
       return CallResult{result ? "true" : "false", result ? "True" : "False", out};
     }},
    {"AddSplitQueries_to_Precondition", 3, false,
     [](ClsXMLGenerator& g, const std::vector<std::string>& args) {
       std::string out;
       bool result = IsTrue(g.AddSplitQueries_to_Precondition(args[0], args[1], args[2], out));
       return CallResult{result ? "true" : "false", result ? "True" : "False", out};
     }},
    {"get_split_fields", 3, false,
     [](ClsXMLGenerator& g, const std::vector<std::string>& args) {
       std::string stored;
       std::string fields = g.get_split_fields(args[0], args[1], args[2], stored);
       return CallResult{JsonString(fields), fields, stored};
     }},
    {"GetConnStr", 2, true, nullptr},
    {"GetFromToRange", 0, true, nullptr},
    {"ConstructSplitInfoFile", 2, true, nullptr},
};

int Invoke(const MethodInfo& method, const Options& o) {
  ClsXMLGenerator generator;
  std::shared_ptr<TextStream> log = std::make_shared<StdioTextStream>(stderr);
  std::vector<std::string> args;
  for (std::size_t i = 1; i < o.positional.size(); ++i) args.push_back(Ansi(o.positional[i]));
  CallResult result;
  try {
    generator.ConnectionString(Ansi(*o.repository));
    if (o.profile) generator.MigrationProfile(CIntText(Ansi(*o.profile)));
    if (o.xmlPath) generator.XMLPath(Ansi(*o.xmlPath));
    generator.LogFileName(log);
    if (o.checkedOut) generator.ConsiderCheckedOutVersions(kTrue);
    if (o.split) generator.SplitVorps(kTrue);
    result = method.call(generator, args);
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
  return result.json == "false" ? kExitFalse : kExitTrue;
}

int Call(const Options& o) {
  if (!o.repository) return Usage("call needs --repository");
  if (o.positional.empty()) return Usage("call needs a METHOD");
  if (o.legacy) return Usage("--legacy: the legacy class is not available in this build yet");
  const std::string& name = o.positional.front();
  for (const MethodInfo& method : kMethods) {
    if (name != method.name) continue;
    if (method.legacyOnly) return Usage(name + " is a method of the legacy class (--legacy)");
    if (static_cast<int>(o.positional.size()) - 1 != method.arguments)
      return Usage(name + " takes " + std::to_string(method.arguments) + " arguments");
    if (!method.call) return Usage(name + " is not available in this build yet");
    return Invoke(method, o);
  }
  return Usage("unknown method '" + name + "'");
}

int InitRepository(const Options& o) {
  if (o.positional.empty()) return Usage("init-repository needs a FILE");
  std::vector<std::string> scripts;
  for (std::size_t i = 1; i < o.positional.size(); ++i) scripts.push_back(Ansi(o.positional[i]));
  try {
    CreateRepository(Ansi(o.positional.front()), scripts);
  } catch (const Raised& raised) {
    return SetterFailed(raised);
  }
  std::cout << "Repository created: " << o.positional.front() << "\n";
  return kExitTrue;
}

}  // namespace
}  // namespace tqlm::cli

int main(int argc, char** argv) {
  using namespace tqlm::cli;
  UsageError error;
  std::optional<Options> options = ParseOptions(argc, argv, error);
  if (!options) return Usage(error.message);
  switch (options->command) {
    case Command::Generate: return Generate(*options);
    case Command::Call: return Call(*options);
    case Command::InitRepository: return InitRepository(*options);
    case Command::Help: std::cout << kUsage; return kExitTrue;
  }
  return kExitUsage;
}
