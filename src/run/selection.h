// What a run reads before its objects: the profile (its triples, depth and
// applications), the related profiles and the kind of target application
// (legacy class), the checked-out triple, and the selected target tables.
#pragma once

#include <string>
#include <vector>

#include "core/component.h"
#include "run/run_log.h"

namespace tqlm {

// The profile in which a mapping object is being looked for. It starts as
// the selected profile and moves to a parent profile when the search
// traverses.
struct ProfileView {
  VbLong mprf = 0;
  Triple own, derivedFrom, checkedOut;
  VbLong depth = 0;
  bool checkedOutFlag = false;

  // The checked-out triple when there is one, else the own triple.
  const Triple& Preferred() const { return Trim(checkedOut.vers).empty() ? own : checkedOut; }
};

// The selected profile and its applications (15 characters in the legacy
// class).
struct RunProfile {
  ProfileView profile;
  std::string sapp, tapp;
};

struct SelectedObject {
  std::string cpac, cmod, flno;
};

// A selected object's codes as the run writes them: package, module, table.
struct ObjectCodes {
  std::string pac, mod, flno;
  std::string Code() const { return pac + mod + flno; }
};

ObjectCodes CodesOf(const ClassTraits& traits, const SelectedObject& selected);

// The profile values a row of qxmap100 gives: the selected profile's, or a
// parent's when the search traverses.
ProfileView ProfileOf(const ClassTraits& traits, const Recordset& row);

// Reads the profile and what goes with it, in the run's order. Sets what the
// run keeps for its writers (related profiles, lookup application,
// application kind) and, as the run does, the table bounds of a legacy run
// over a data-dictionary application and the status list. Raises 111 for a
// missing profile.
RunProfile ReadRunProfile(Component& c);

// The selected target tables, read at once so that their number is known:
// the list's codes (the list is stored back quoted), else the range. Raises
// 123 when nothing is selected.
std::vector<SelectedObject> SelectMappingObjects(Component& c, const RunProfile& run);

}  // namespace tqlm
