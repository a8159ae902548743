#include "run/run_log.h"

#include <optional>

#include "platform/text.h"

namespace tqlm {

namespace {

// "Conversion Object <code> in Profile No. <n> V-R-C  - V-R-C", after `tabs`.
std::string StatusHead(std::string_view tabs, const ObjectRef& o) {
  std::string line(tabs);
  line += "Conversion Object " + o.code + " in Profile No. " + CStr(static_cast<long long>(o.profile)) +
          " V-R-C  - " + o.triple.vers + "-" + o.triple.rele + "-" + o.triple.cust;
  return line;
}

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }
bool EndsWith(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

// An error number as a line writes it: a blank and digits, or "-" and digits;
// what follows it.
std::optional<std::string_view> AfterErrorNumber(std::string_view text) {
  if (text.empty() || (text[0] != ' ' && text[0] != '-')) return std::nullopt;
  std::size_t end = 1;
  while (end < text.size() && text[end] >= '0' && text[end] <= '9') ++end;
  if (end == 1) return std::nullopt;
  return text.substr(end);
}

}  // namespace

bool IsFirstRunLine(std::string_view line) {
  // "(1.)" TAB stamp TAB "Started exporting the <noun>: <code> as XML File."
  if (StartsWith(line, "(1.)\t")) {
    const std::size_t tab = line.find('\t', 5);
    if (tab == std::string_view::npos) return false;
    const std::string_view rest = line.substr(tab + 1);
    return (StartsWith(rest, "Started exporting the Conversion Object: ") ||
            StartsWith(rest, "Started exporting the Mapping Object: ")) &&
           EndsWith(rest, " as XML File.");
  }
  // The run's error lines: the generator's number "-" description, the
  // legacy class's TAB TAB "ERROR:- " number " - " description.
  if (StartsWith(line, "\t\tERROR:- ")) {
    const auto rest = AfterErrorNumber(line.substr(10));
    return rest && StartsWith(*rest, " - ");
  }
  const auto rest = AfterErrorNumber(line);
  return rest && StartsWith(*rest, "-");
}

void LogStarted(Component& c, VbLong count, std::string_view code) {
  c.Log().WriteLine("(" + CStr(static_cast<long long>(count)) + ".)\t" + c.Now() + "\tStarted exporting the " +
                    std::string(c.traits.objectNoun) + ": " + std::string(code) + " as XML File.");
}

void LogExpired(Component& c, const ObjectRef& o) {
  c.Log().WriteLine(StatusHead("\t", o) + " Skipped as STATUS is ** EXPIRE**");
}

void LogStatusError(Component& c, const ObjectRef& o) {
  c.Log().WriteLine(StatusHead("\t", o) + " Skipped as STATUS is ** ERROR **");
}

void LogCommentOnly(Component& c, const ObjectRef& o) {
  c.Log().WriteLine(StatusHead("\t\t", o) + " Skipped as STATUS is *Comment-Only*");
}

void LogNoRules(Component& c, const ObjectRef& o) {
  c.Log().WriteLine(StatusHead("\t\t", o) + " Skipped as *No Rules Maintained*");
}

void LogMScriptMemberSkipped(Component& c, std::string_view code) {
  c.Log().WriteLine("\t" + c.Now() + "\tSkipped Mapping object: " + std::string(code) + " as it is a part of an M-script. ");
  c.Log().WriteBlankLines(1);
}

void LogCompleted(Component& c, std::string_view code) {
  c.Log().WriteLine("\t" + c.Now() + "\tCompleted exporting Mapping object: " + std::string(code) +
                    " as XML SUCCESSFULLY.");
  c.Log().WriteBlankLines(1);
}

void LogNoMappings(Component& c, std::string_view code) {
  std::string line = "\t\tWARNING:- No Mappings maintained for the table :" + std::string(code) + "\r\n";
  if (c.traits.noMappingsCall == LogCall::WriteLine) {
    c.Log().WriteLine(line);
  } else {
    c.Log().Write(line);
  }
  c.Log().WriteBlankLines(1);
}

void LogSummary(Component& c, const RunCounters& n) {
  TextStream& log = c.Log();
  auto count = [](long long value) { return FormatGrouped(value); };
  log.WriteLine(std::string(132, '-'));
  log.WriteLine("\t\tTotal No. Of Mapping Objects for which XML Generation was successful  =  " + count(n.success));
  if (c.traits.reportsMScriptCount)
    log.WriteLine("\t\tTotal No. Of Mapping Objects that are Part of M-SCRIPT                =  " + count(n.mscript));
  log.WriteLine("\t\tTotal No. Of Mapping Objects that Doesn't Have Mappings               =  " + count(n.noMapping));
  log.WriteLine("\t\tTotal No. Of Mapping Objects that had ERRORS while XML GENERATAION    =  " + count(n.errors));
  log.WriteLine(std::string(133, '-'));
  log.WriteLine("\t\t" + std::string(55, ' ') + "TOTAL" + std::string(10, ' ') + "=  " + count(n.objects));
  log.WriteLine(std::string(133, '-'));
}

void LogNullSourceTables(Component& c, const ObjectRef& o) {
  c.Log().Write("\t\tERROR: Source tables is Null for the table " + o.code + " in the profile no. " +
                CStr(static_cast<long long>(o.profile)) + "\r\n\r\n");
}

void LogDocumentFailed(Component& c, std::string_view code, bool mscript) {
  if (mscript) {
    c.Log().WriteLine("\t" + c.Now() + "\tError in XML Generation for Mapping Object" + std::string(code));
  } else {
    c.Log().Write("\t" + c.Now() + "\tError in XML Generation for Mapping object " + std::string(code) + "\r\n");
  }
  c.Log().WriteBlankLines(1);
}

void LogSideFileLine(Component& c, std::string_view text) { c.Log().WriteLine("\t\t" + std::string(text)); }

}  // namespace tqlm
