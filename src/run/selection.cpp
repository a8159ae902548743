#include "run/selection.h"

#include "platform/error.h"
#include "platform/text.h"
#include "run/object_search.h"

namespace tqlm {

namespace {

BoundValue Profile(const Component& c) { return NumberValue(c.settings.migrationProfile); }
std::string ProfileText(const Component& c) { return CStr(static_cast<long long>(c.settings.migrationProfile)); }

// The profiles related to this one, for the function library: their
// numbers joined by ",", or the profile's own number.
void ReadRelatedProfiles(Component& c) {
  Recordset rs = c.Query("select pprf from qxmap101 where mprf = " + Profile(c));
  if (!rs.HasRow()) {
    c.run.relatedProfiles = ProfileText(c);
    return;
  }
  std::string list = rs.GetString(",", ",", "");
  if (InStr(list, ",") > 0) list = Left(list, Len(list) - 1);
  c.run.relatedProfiles = list;
}

// A target application that the data dictionary describes (a qxddi100 row
// with extn = 1) gets its table bounds in three digits; any other is a set
// of legacy files, selected from qxlgy140.
void ReadApplicationKind(Component& c, const std::string& tapp) {
  Recordset rs = c.Query("select * from qxddi100 where appl = " + TextValue(tapp) + " and extn = 1");
  c.run.legacyApplication = !rs.HasRow();
  if (c.run.legacyApplication) return;
  c.settings.tableFrom = Right("000" + LCase(c.settings.tableFrom), 3);
  c.settings.tableTo = Right("000" + LCase(c.settings.tableTo), 3);
}

void ReadCheckedOutVersions(Component& c, ProfileView& profile) {
  if (c.traits.kind == ClassKind::Legacy) c.settings.statusList = kEveryStatus;  // afresh for each run
  if (!IsSet(c.settings.considerCheckedOutVersions)) return;
  if (profile.checkedOutFlag) profile.checkedOut = CheckedOutTriple(c, c.settings.migrationProfile);
  c.settings.statusList += 'C';
}

}  // namespace

ObjectCodes CodesOf(const ClassTraits& traits, const SelectedObject& selected) {
  return {FixedLength(selected.cpac, 2), FixedLength(selected.cmod, 3), ClassTableNumber(traits, selected.flno)};
}

ProfileView ProfileOf(const ClassTraits& traits, const Recordset& rs) {
  ProfileView view;
  view.mprf = ClassNumber(traits, rs.Field("mprf").AsNumber());
  view.own = TripleOf(rs.Field("vers"), rs.Field("rele"), rs.Field("cust"));
  view.derivedFrom = TripleOf(rs.Field("verf"), rs.Field("relf"), rs.Field("cusf"));
  view.depth = ClassNumber(traits, rs.Field("deph").AsNumber());
  view.checkedOutFlag = rs.Field("scme").AsText() == "Y";
  return view;
}

RunProfile ReadRunProfile(Component& c) {
  const bool legacy = c.traits.kind == ClassKind::Legacy;
  if (legacy) ReadRelatedProfiles(c);
  RunProfile run;
  {
    Recordset rs = c.Query(" select qxmap100.* from qxmap100 where mprf = " + Profile(c));
    if (!rs.HasRow()) Raise(111, "XML Generation", "Migration Profile No. " + ProfileText(c) + " not available.");
    // The legacy class keeps application codes in 15 characters.
    auto application = [&](const char* column) {
      return legacy ? FixedLength(rs.Field(column).AsText(), 15) : rs.Field(column).AsText();
    };
    run.sapp = application("sapp");
    run.tapp = application("tapp");
    run.profile = ProfileOf(c.traits, rs);
    if (legacy) c.run.lookupApplication = rs.Field("apln").AsText();
  }
  if (legacy) ReadApplicationKind(c, run.tapp);
  ReadCheckedOutVersions(c, run.profile);
  return run;
}

std::vector<SelectedObject> SelectMappingObjects(Component& c, const RunProfile& run) {
  ClientSettings& s = c.settings;
  // Legacy target tables are listed with the legacy files.
  const std::string table =
      c.traits.kind == ClassKind::Legacy && c.run.legacyApplication ? "qxlgy140" : "qxddi140";
  const auto column = [&](std::string_view name) { return Statement::OwnText(table + "." + std::string(name)); };
  Statement statement = " select " + column("cpac") + "," + column("cmod") + "," + column("flno") + "  from " +
                        Statement::OwnText(table) + " where  " + column("appl") + " =" + TextValue(Trim(run.tapp)) +
                        " and ";
  if (!Trim(s.listOfMappingObjectsSelected).empty()) {
    // Each code of the list is a value; the run stores the list back as
    // the in-list shows it, each code in quotes.
    const std::vector<std::string> codes = Split(s.listOfMappingObjectsSelected, ",");
    s.listOfMappingObjectsSelected = "'" + Join(codes, "','") + "'";
    s.selectionQuotedByRun = true;
    statement += " " + column("cpac") + " + " + column("cmod") + " + " + column("flno") + " in (" +
                 TextValues(codes) + ")";
  } else {
    statement += " " + column("cpac") + " between " + TextValue(s.packageFrom) + " and " + TextValue(s.packageTo) +
                 " and " + " " + column("cmod") + " between " + TextValue(s.moduleFrom) + " and " +
                 TextValue(s.moduleTo) + " and " + " " + column("flno") + " between " + TextValue(s.tableFrom) +
                 " and " + TextValue(s.tableTo);
  }
  Recordset rs = c.Query(statement);
  if (!rs.HasRow())
    Raise(123, "XMLGeneration",
          "No Mapping Objects exists to generate XML Files for the selected Range  " + s.packageFrom + s.moduleFrom +
              s.tableFrom + " TO " + s.packageTo + s.moduleTo + s.tableTo + " Please select a valid range.");
  std::vector<SelectedObject> selection;
  for (; !rs.Eof(); rs.MoveNext())
    selection.push_back({rs.Field(0L).AsText(), rs.Field(1L).AsText(), rs.Field(2L).AsText()});
  return selection;
}

}  // namespace tqlm
