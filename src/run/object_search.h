// The search for a mapping object's row: passes over the levels up to the
// profile's depth, the checked-out triple tried before the own one, moving
// to the profile this one was derived from when traversal is on.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/component.h"
#include "run/selection.h"

namespace tqlm {

// The values of a mapping-object row that the status rules read.
struct MappingRow {
  std::string stat, prtx, comt;
  Value stbl, isms;
};

// Where the search found the row: the profile and the triple.
struct FoundRow {
  MappingRow row;
  VbLong profile = 0;
  Triple triple;
};

// The statement for the object's row under a profile and triple.
Statement MappingRowStatement(const ClientSettings& settings, VbLong profile, const Triple& triple,
                              const ObjectCodes& object);

// The checked-out triple of a profile (blank when it has none).
Triple CheckedOutTriple(Component& c, VbLong profile);

// The object's row, or nothing when no pass finds it. The generator gives a
// parent profile passes of its own; the legacy class makes at most the
// selected profile's depth of passes in all.
std::optional<FoundRow> FindMappingRow(Component& c, const ProfileView& start, const ObjectCodes& object);

}  // namespace tqlm
