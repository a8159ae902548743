#include "run/object_search.h"

#include <set>
#include <utility>

namespace tqlm {

namespace {

std::optional<ProfileView> ParentProfile(Component& c, const ProfileView& view) {
  Recordset rs = c.Query(" select qxmap100.* from qxmap100  where qxmap100.vers =" +
                         TextValue(Trim(view.derivedFrom.vers)) + " and qxmap100.rele = " +
                         TextValue(Trim(view.derivedFrom.rele)) + " and qxmap100.cust = " +
                         TextValue(Trim(view.derivedFrom.cust)));
  if (!rs.HasRow()) return std::nullopt;
  return ProfileOf(c.traits, rs);
}

// Generator: a parent found starts its own passes with its own depth and
// checked-out flag. A parent already visited in this search (profiles
// derived from each other in a circle) is not entered again, so the search
// ends instead of running forever.
void MoveToParentProfile(Component& c, ProfileView& view, VbLong& level,
                         std::set<std::pair<VbLong, std::string>>& visited) {
  std::optional<ProfileView> parent = ParentProfile(c, view);
  if (!parent || !visited.insert({parent->mprf, parent->own.vers + parent->own.rele + parent->own.cust}).second)
    return;
  view = *parent;
  level = 1;
}

// Legacy: the parent's triples and number are taken; its depth and
// checked-out flag are not, and the passes go on counting.
void MoveToParentWithinDepth(Component& c, ProfileView& view) {
  std::optional<ProfileView> parent = ParentProfile(c, view);
  if (!parent) return;
  view.own = parent->own;
  view.derivedFrom = parent->derivedFrom;
  view.mprf = parent->mprf;
}

MappingRow RowOf(const Recordset& rs) {
  return MappingRow{rs.Field("stat").AsText(), rs.Field("prtx").AsText(), rs.Field("comt").AsText(),
                    rs.Field("stbl"), rs.Field("isms")};
}

}  // namespace

Statement MappingRowStatement(const ClientSettings& settings, VbLong profile, const Triple& t,
                              const ObjectCodes& object) {
  std::vector<std::string> statuses;
  for (char letter : settings.statusList) statuses.emplace_back(1, letter);
  return "select qxmap120.*  from qxmap120   where qxmap120.mprf = " + NumberValue(profile) +
         "  and qxmap120.vers =" + TextValue(t.vers) + " and qxmap120.rele =" + TextValue(t.rele) +
         " and qxmap120.cust =" + TextValue(t.cust) + " and qxmap120.tcpac=" + TextValue(object.pac) +
         " and qxmap120.tcmod =" + TextValue(object.mod) + " and qxmap120.tflno=" + TextValue(object.flno) +
         " and stat in (" + TextValues(statuses) + " )";
}

Triple CheckedOutTriple(Component& c, VbLong profile) {
  Recordset rs = c.Query("select dver, drel, dcus  from qxmap105 where mprf = " + NumberValue(profile));
  if (!rs.HasRow()) return Triple{};
  return TripleOf(rs.Field("dver"), rs.Field("drel"), rs.Field("dcus"));
}

std::optional<FoundRow> FindMappingRow(Component& c, const ProfileView& start, const ObjectCodes& object) {
  const bool legacy = c.traits.kind == ClassKind::Legacy;
  ProfileView view = start;
  Triple current = view.Preferred();
  std::set<std::pair<VbLong, std::string>> visited{{view.mprf, view.own.vers + view.own.rele + view.own.cust}};
  VbLong level = 1;
  while (level <= view.depth) {
    Recordset rs = c.Query(MappingRowStatement(c.settings, view.mprf, current, object));
    if (rs.HasRow()) return FoundRow{RowOf(rs), view.mprf, current};
    if (current == view.checkedOut && view.own != current) {
      current = view.own;  // the own triple is tried in the same pass
      continue;
    }
    ++level;
    // A pass that cannot differ from the last one (the same statements on
    // the same snapshot) cannot find anything either: without traversal, or
    // when traversal found no other profile, the search ends here, however
    // deep the profile says it goes.
    if (!IsTrue(c.settings.traverseGeneration)) break;
    const ProfileView before = view;
    if (legacy)
      MoveToParentWithinDepth(c, view);
    else
      MoveToParentProfile(c, view, level, visited);
    if (view.mprf == before.mprf && view.own == before.own && view.derivedFrom == before.derivedFrom) break;
    if (IsSet(c.settings.considerCheckedOutVersions) && view.checkedOutFlag)
      view.checkedOut = CheckedOutTriple(c, view.mprf);
    else
      view.checkedOut = Triple{};
    current = view.Preferred();
  }
  return std::nullopt;
}

}  // namespace tqlm
