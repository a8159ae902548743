// Split processing: large source tables converted by several run-time
// processes, each over a range of key values.
#pragma once

#include <string>
#include <string_view>

#include "core/component.h"

namespace tqlm {

// Puts the range code of every split source table of `targetTable` in front
// of its migrate statement, records the range conditions for the source
// tags and the range declarations for the variables in `document`. True with
// the new text in `returnString`.
bool AddSplitQueries_to_Precondition(Component& c, DocumentState& document, std::string_view sourceApplication,
                                     std::string_view inString, std::string_view targetTable,
                                     std::string& returnString);

// The split key fields of a source table, comma-separated: in the generator
// with index references and combined fields expanded, in the legacy class as
// stored. `storedList` receives the list as stored. Empty without split
// information. No trap.
std::string get_split_fields(Component& c, std::string_view sourceApplication, std::string_view targetTable,
                             std::string_view sourceTable, std::string& storedList);

// Adds a split source table's range `condition` to its main query's where
// clause, or gives it one, in front of a group, having or order clause (all
// searched without regard to case).
std::string MergeSplitCondition(const std::string& query, std::string_view condition);

}  // namespace tqlm
