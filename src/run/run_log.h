// The lines a generation run writes to the log stream.
#pragma once

#include <string>
#include <string_view>

#include "core/component.h"
#include "run/triple.h"

namespace tqlm {

// Which object a status line speaks of: table code, profile number, triple.
struct ObjectRef {
  std::string code;
  VbLong profile = 0;
  Triple triple;
};

// Integers in the generator, Longs in the legacy class; the object count is
// a Long in both.
struct RunCounters {
  VbLong objects = 0, success = 0, mscript = 0, noMapping = 0, errors = 0;
};

void LogStarted(Component& c, VbLong count, std::string_view code);
void LogExpired(Component& c, const ObjectRef& object);
void LogStatusError(Component& c, const ObjectRef& object);
void LogCommentOnly(Component& c, const ObjectRef& object);
void LogNoRules(Component& c, const ObjectRef& object);
void LogMScriptMemberSkipped(Component& c, std::string_view code);
void LogCompleted(Component& c, std::string_view code);
void LogNoMappings(Component& c, std::string_view code);
void LogSummary(Component& c, const RunCounters& counters);

// Lines of the legacy run only: an object without a source-table list, a
// document that was not written, a side file that was.
void LogNullSourceTables(Component& c, const ObjectRef& object);
void LogDocumentFailed(Component& c, std::string_view code, bool mscript);
void LogSideFileLine(Component& c, std::string_view text);

// Whether a line (without its line end) has the shape of the first line a
// run of either class writes to its log: the first object's "Started"
// line, or the error line of a run that failed before its first object.
bool IsFirstRunLine(std::string_view line);

}  // namespace tqlm
