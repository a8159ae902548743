// The range code of one split source table: a condition restricting the
// table to the key range of the current run-time process, the script that
// fills the range variables before the table's migrate statement, and their
// declarations.
#pragma once

#include <string>
#include <string_view>

#include "core/component.h"

namespace tqlm {

struct SplitRange {
  std::string condition;
  std::string prefix;        // empty when the key fields have no domains
  std::string declarations;  // generator only
};

// The generator's ranges come at run time from the split control table of
// the target application, one row per process instance. `storedList` is the
// key list as qxmap300 holds it (possibly an INDEX reference), `fields` the
// expanded list.
SplitRange GeneratorSplitRange(Component& c, std::string_view sourceApplication, std::string_view targetTable,
                               std::string_view sourceTable, std::string_view fields, std::string_view storedList);

// The legacy ranges come at run time from the engine's split dictionary
// (through GetFromToRange) into string or integer variables by the fields'
// data types; the condition compares the key fields lexicographically,
// exclusive below and inclusive above. No declarations.
SplitRange LegacySplitRange(Component& c, std::string_view sourceApplication, std::string_view sourceTable,
                            std::string_view fields);

// The script procedures the legacy range code calls: GetFromToRange, which
// reads a process's range from the engine's split dictionary, and
// RaiseError. The text starts with CR LF and has none after its last line.
std::string GetFromToRange();

}  // namespace tqlm
