#include "plan.h"

#include <cstdio>
#include <iostream>

#include "checks.h"
#include "json.h"
#include <tqlm/text.h>
#include "selection.h"

namespace tqlm::cli {

namespace {

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

// The triple the rules were found under, as the log shows it; empty without
// a mapping-object row.
std::string Triple(const ObjectRecord& r) { return r.status.empty() ? "" : r.vers + "-" + r.rele + "-" + r.cust; }

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
  const auto& objects = object.PlannedObjects();
  if (result || ErrorNumberOf(object.ErrorDescription()) == 123) PrintWarnings(ListWarnings(o, objects));
  if (o.json) {
    std::string list;
    for (const ObjectRecord& r : objects) {
      JsonObject item;
      item.AddString("code", r.code).AddString("status", r.status).AddNumber("profile", r.profile);
      item.AddString("triple", Triple(r)).AddString("outcome", OutcomeText(r.outcome));
      list += (list.empty() ? "" : ", ") + item.Text();
    }
    JsonObject json;
    json.AddBool("result", result)
        .AddString("ErrorDescription", object.ErrorDescription())
        .Add("objects", "[" + list + "]");
    std::cout << json.Text() << "\n";
  } else {
    std::printf("%-12s %-6s %-8s %-12s %s\n", "object", "status", "profile", "V-R-C", "a run would");
    for (const ObjectRecord& r : objects) {
      std::printf("%-12s %-6s %-8s %-12s %s\n", AnsiToUtf8(r.code).c_str(), r.status.c_str(),
                  r.status.empty() ? "" : std::to_string(r.profile).c_str(), AnsiToUtf8(Triple(r)).c_str(),
                  OutcomeText(r.outcome).c_str());
    }
    if (!result) std::cout << "ErrorDescription: " << AnsiToUtf8(object.ErrorDescription()) << "\n";
  }
  return result ? kExitTrue : kExitFalse;
}

}  // namespace

int Plan(const Options& o) {
  if (auto error = ProfileOptionError(o)) return UsageError(*error);
  // Answered as generate answers it, before anything runs.
  if (auto problem = RepositoryProblem(*o.repository)) return UsageError(*problem);
  PrintWarnings(RangeWarnings(o));
  return o.legacy ? Plan<ClsXMLLegacy>(o) : Plan<ClsXMLGenerator>(o);
}

}  // namespace tqlm::cli
