#include "run/generation_run.h"

#include <optional>
#include <set>
#include <utility>
#include <vector>

#include "document/create_xml.h"
#include "document/mscript.h"
#include "core/error_trap.h"
#include "platform/text.h"
#include "run/run_log.h"

namespace tqlm {

namespace {

Triple TripleOf(const Value& vers, const Value& rele, const Value& cust) {
  return Triple{FixedLength(vers.AsText(), 4), FixedLength(rele.AsText(), 2), FixedLength(cust.AsText(), 4)};
}

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

void Increment(VbInteger& counter) { counter = CInt(static_cast<long long>(counter) + 1); }
void Increment(VbLong& counter) { counter = CLng(static_cast<long long>(counter) + 1); }

class GenerationRun {
 public:
  explicit GenerationRun(Component& c) : c_(c) {}

  void Run() {
    RefuseQuotesInClientValues();
    ReadProfile();
    ReadCheckedOutVersions();
    Recordset selection = SelectMappingObjects();
    for (; !selection.Eof(); selection.MoveNext()) ExportObject(selection);
    c_.run.xmlSuccess = n_.success;
    c_.run.xmlWarnings = n_.noMapping;
    c_.run.xmlErrors = n_.errors;
    LogSummary(c_, n_);
  }

 private:
  // The selection list, or else the range bounds, are pasted into a
  // statement; a quote in them would change the statement, so the run refuses
  // it before any statement runs. The quotes the run itself put around the
  // entries of a list it stored back are not the client's.
  void RefuseQuotesInClientValues() const {
    std::vector<std::pair<const char*, const std::string*>> pasted;
    if (!Trim(c_.settings.listOfMappingObjectsSelected).empty()) {
      if (!c_.settings.selectionQuotedByRun) pasted.push_back({"ListOfMappingObjectsSelected", &c_.settings.listOfMappingObjectsSelected});
    } else {
      pasted = {{"PackageFrom", &c_.settings.packageFrom}, {"ModuleFrom", &c_.settings.moduleFrom}, {"TableFrom", &c_.settings.tableFrom},
                {"PackageTo", &c_.settings.packageTo},     {"ModuleTo", &c_.settings.moduleTo},     {"TableTo", &c_.settings.tableTo}};
    }
    for (const auto& [name, value] : pasted) {
      if (InStr(*value, "'") > 0)
        Raise(kErrInvalidCall, "XML Generation",
              std::string("Invalid procedure call or argument: ") + name + " holds a single quote");
    }
  }

  void ReadProfile() {
    Recordset rs = c_.Query(" select qxmap100.* from qxmap100 where mprf = " +
                                      CStr(static_cast<long long>(c_.settings.migrationProfile)));
    if (!rs.HasRow())
      Raise(111, "XML Generation",
            "Migration Profile No. " + CStr(static_cast<long long>(c_.settings.migrationProfile)) + " not available.");
    sapp_ = rs.Field("sapp").AsText();
    tapp_ = rs.Field("tapp").AsText();
    TakeProfileRow(rs, profile_);
  }

  // The profile values a row of qxmap100 gives: the selected profile's, or a
  // parent's when the search traverses.
  void TakeProfileRow(const Recordset& rs, ProfileView& view) const {
    view.mprf = ProfileNumber(rs.Field("mprf"));
    view.own = TripleOf(rs.Field("vers"), rs.Field("rele"), rs.Field("cust"));
    view.derivedFrom = TripleOf(rs.Field("verf"), rs.Field("relf"), rs.Field("cusf"));
    view.depth = ProfileNumber(rs.Field("deph"));
    view.checkedOutFlag = rs.Field("scme").AsText() == "Y";
  }

  // Profile numbers and depths are Integers in the generator.
  VbLong ProfileNumber(const Value& v) const {
    return ClassNumber(c_.traits, v.AsNumber());
  }

  Triple CheckedOutTriple(VbLong profile) const {
    Recordset rs = c_.Query("select dver, drel, dcus  from qxmap105 where mprf = " +
                                      CStr(static_cast<long long>(profile)));
    if (!rs.HasRow()) return Triple{};
    return TripleOf(rs.Field("dver"), rs.Field("drel"), rs.Field("dcus"));
  }

  void ReadCheckedOutVersions() {
    if (!IsSet(c_.settings.considerCheckedOutVersions)) return;
    if (profile_.checkedOutFlag) profile_.checkedOut = CheckedOutTriple(c_.settings.migrationProfile);
    c_.settings.statusList += ",'C'";
  }

  Recordset SelectMappingObjects() {
    const std::string head = " select qxddi140.cpac,qxddi140.cmod,qxddi140.flno  from qxddi140 where  qxddi140.appl ='" +
                             Trim(tapp_) + "' and ";
    std::string statement;
    if (!Trim(c_.settings.listOfMappingObjectsSelected).empty()) {
      c_.settings.listOfMappingObjectsSelected = "'" + Replace(c_.settings.listOfMappingObjectsSelected, ",", "','") + "'";
      c_.settings.selectionQuotedByRun = true;
      statement = head + " qxddi140.cpac + qxddi140.cmod + qxddi140.flno in (" + c_.settings.listOfMappingObjectsSelected + ")";
    } else {
      statement = head + " qxddi140.cpac between '" + c_.settings.packageFrom + "' and '" + c_.settings.packageTo + "' and " +
                  " qxddi140.cmod between '" + c_.settings.moduleFrom + "' and '" + c_.settings.moduleTo + "' and " +
                  " qxddi140.flno between '" + c_.settings.tableFrom + "' and '" + c_.settings.tableTo + "'";
    }
    Recordset rs = c_.Query(statement);
    if (!rs.HasRow())
      Raise(123, "XMLGeneration",
            "No Mapping Objects exists to generate XML Files for the selected Range  " + c_.settings.packageFrom +
                c_.settings.moduleFrom + c_.settings.tableFrom + " TO " + c_.settings.packageTo + c_.settings.moduleTo + c_.settings.tableTo +
                " Please select a valid range.");
    return rs;
  }

  void ExportObject(const Recordset& selected) {
    c_.run.currentPac = FixedLength(selected.Field(0L).AsText(), 2);
    c_.run.currentMod = FixedLength(selected.Field(1L).AsText(), 3);
    c_.run.currentFlno = FixedLength(selected.Field(2L).AsText(), 3);
    const std::string code = c_.run.currentPac + c_.run.currentMod + c_.run.currentFlno;
    ProfileView view = profile_;
    Increment(n_.objects);
    LogStarted(c_, n_.objects, code);

    Triple current = view.Preferred();
    std::optional<Recordset> row = FindMappingRow(view, current);
    if (!row) {
      LogNoMappings(c_, code);
      Increment(n_.noMapping);
      return;
    }
    Increment(c_.run.noOfXMLGenerated);
    ApplyStatusRules(*row, ObjectRef{code, view.mprf, current}, view);
  }

  std::string MappingRowStatement(VbLong profile, const Triple& t) const {
    return "select qxmap120.*  from qxmap120   where qxmap120.mprf = " + CStr(static_cast<long long>(profile)) +
           "  and qxmap120.vers ='" + t.vers + "' and qxmap120.rele ='" + t.rele + "' and qxmap120.cust ='" +
           t.cust + "' and qxmap120.tcpac='" + c_.run.currentPac + "' and qxmap120.tcmod ='" + c_.run.currentMod +
           "' and qxmap120.tflno='" + c_.run.currentFlno + "' and stat in (" + c_.settings.statusList + " )";
  }

  // The search: up to `depth` passes per profile visited, trying the
  // checked-out triple before the own one, and moving to the profile this
  // one was derived from when traversal is on.
  std::optional<Recordset> FindMappingRow(ProfileView& view, Triple& current) const {
    std::set<std::pair<VbLong, std::string>> visited{{view.mprf, view.own.vers + view.own.rele + view.own.cust}};
    VbLong level = 1;
    while (level <= view.depth) {
      Recordset rs = c_.Query(MappingRowStatement(view.mprf, current));
      if (rs.HasRow()) return rs;
      if (current == view.checkedOut && view.own != current) {
        current = view.own;  // the own triple is tried in the same pass
        continue;
      }
      ++level;
      if (!IsTrue(c_.settings.traverseGeneration)) continue;
      MoveToParentProfile(view, level, visited);
      if (IsSet(c_.settings.considerCheckedOutVersions) && view.checkedOutFlag)
        view.checkedOut = CheckedOutTriple(view.mprf);
      else
        view.checkedOut = Triple{};
      current = view.Preferred();
    }
    return std::nullopt;
  }

  // A parent found starts its own passes. A parent already visited in this
  // search (profiles derived from each other in a circle) is not entered
  // again, so the search ends instead of running forever.
  void MoveToParentProfile(ProfileView& view, VbLong& level,
                           std::set<std::pair<VbLong, std::string>>& visited) const {
    Recordset rs = c_.Query(" select qxmap100.* from qxmap100  where qxmap100.vers ='" +
                                      Trim(view.derivedFrom.vers) + "' and qxmap100.rele = '" +
                                      Trim(view.derivedFrom.rele) + "' and qxmap100.cust = '" +
                                      Trim(view.derivedFrom.cust) + "'");
    if (!rs.HasRow()) return;
    ProfileView parent;
    TakeProfileRow(rs, parent);
    if (!visited.insert({parent.mprf, parent.own.vers + parent.own.rele + parent.own.cust}).second) return;
    view.own = parent.own;
    view.derivedFrom = parent.derivedFrom;
    view.depth = parent.depth;
    view.mprf = parent.mprf;
    view.checkedOutFlag = parent.checkedOutFlag;
    level = 1;
  }

  void ApplyStatusRules(const Recordset& row, const ObjectRef& object, const ProfileView& view) {
    const std::string stat = row.Field("stat").AsText();
    if (stat == "X") {
      LogExpired(c_, object);
      Increment(n_.errors);
      return;
    }
    if (stat == "E" && c_.settings.generationOption == 4) {
      LogStatusError(c_, object);
      Increment(n_.errors);
      return;
    }
    const std::string prtx = Trim(row.Field("prtx").AsText());
    const std::string comt = row.Field("comt").AsText();
    if (stat == "D") {
      LogCommentOnly(c_, object);
      Increment(n_.noMapping);
      return;
    }
    if (stat == "M" && prtx.empty() && comt.empty()) {
      LogNoRules(c_, object);
      Increment(n_.noMapping);
      return;
    }
    Export(row, object, view, prtx);
  }

  void Export(const Recordset& row, const ObjectRef& object, const ProfileView& view, const std::string& prtx) {
    MappingObject document;
    document.mprf = view.mprf;
    document.vers = object.triple.vers;
    document.rele = object.triple.rele;
    document.cust = object.triple.cust;
    document.tcpac = c_.run.currentPac;
    document.tcmod = c_.run.currentMod;
    document.sapp = sapp_;
    document.tapp = tapp_;
    document.tflno = c_.run.currentFlno;
    document.prtx = prtx;
    document.stbl = row.Field("stbl").AsText();
    c_.document.splitDeclarations.clear();
    c_.document.splitConditions.RemoveAll();
    bool written;
    if (row.Field("isms").AsFlag()) {
      if (InStr(c_.run.listOfXMLGenerated, object.code) > 0) {
        LogMScriptMemberSkipped(c_, object.code);
        Increment(n_.mscript);
        return;
      }
      written = Create_MScript_XML(c_, std::move(document));
    } else {
      written = Create_XML(c_, std::move(document));
    }
    if (!written) {
      Increment(n_.errors);
      return;
    }
    c_.run.listOfXMLGenerated += object.code + ",";
    LogCompleted(c_, object.code);
    Increment(n_.success);
  }

  Component& c_;
  std::string sapp_, tapp_;
  ProfileView profile_;
  RunCounters n_;
};

}  // namespace

VbBoolean GenerateXMLFile(Component& c) {
  c.run.noOfXMLGenerated = 0;
  VbBoolean result = kTrue;
  try {
    GenerationRun(c).Run();
  } catch (...) {
    result = kFalse;
    VbError error = CurrentError();
    try {
      ReportError(c, c.traits.runTrap, error);
    } catch (...) {
      // The log itself failed; the reason stays in ErrorDescription.
      c.run.errorDescription = ErrorLine(c.traits.runTrap, error);
    }
  }
  c.services.repository.Disconnect();  // one connection per run
  return result;
}

}  // namespace tqlm
