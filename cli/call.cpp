#include "call.h"

#include <unistd.h>

#include <functional>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "checks.h"
#include <tqlm/cls_xml_generator.h>
#include <tqlm/cls_xml_legacy.h>
#include "json.h"
#include "nearest_name.h"
#include <tqlm/text.h>
#include <tqlm/textstream.h>
#include "setting.h"

namespace tqlm::cli {

namespace {

int Usage(const std::string& message) { return UsageError(message); }

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

}  // namespace

int Call(const Options& o) {
  if (!o.repository) return Usage("call needs --repository");
  if (auto problem = RepositoryProblem(*o.repository)) return Usage(*problem);
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
  std::vector<std::string> names;
  for (const MethodInfo& method : kMethods)
    if (o.legacy ? method.legacy != nullptr : method.generator != nullptr) names.push_back(method.name);
  const std::vector<std::string> nearest = NearestNames(name, names);
  return Usage("unknown method " + name + (nearest.empty() ? "" : "; did you mean " + OneOf(nearest) + "?"));
}

}  // namespace tqlm::cli
