#include "run/generation_run.h"

#include <algorithm>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <thread>
#include <utility>
#include <vector>

#include "core/error_trap.h"
#include "document/create_xml.h"
#include "document/document_file.h"
#include "document/mscript.h"
#include "platform/filesystem.h"
#include "platform/text.h"
#include "rules/xml_escape.h"
#include "run/run_log.h"
#include "sidefiles/conversion_codes.h"
#include "sidefiles/lookup_application.h"
#include "sidefiles/schema_ini.h"
#include "sidefiles/split_info.h"

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

struct SelectedObject {
  std::string cpac, cmod, flno;
};

// A selected object's codes as the run writes them: package, module, table.
struct ObjectCodes {
  std::string pac, mod, flno;
};

// A plain document a worker built ahead of the run's turn: what it was built
// from, what the build returned, logged and left as the error description,
// and what it would have stored.
struct Prebuilt {
  MappingObject object;
  bool result = false;
  PrebuiltDocument document;
  std::string log;
  std::optional<std::string> errorDescription;
  bool built = false;
};

class GenerationRun;

// Workers that build plain documents ahead of the run, each on a copy of the
// run's component with a connection of its own, at most a window of objects
// ahead of the run's turn. A worker runs the object's search and status
// rules as the run does and builds a plain document without touching the
// file system; M-script objects, and objects whose search failed, are left
// to the run.
class Prebuilder {
 public:
  // One worker for each of `connections`, which read the run's snapshot.
  Prebuilder(const Component& c, const GenerationRun& run, const std::vector<SelectedObject>& selection,
             std::vector<std::unique_ptr<Backend>> connections);
  Prebuilder(const Prebuilder&) = delete;
  Prebuilder& operator=(const Prebuilder&) = delete;
  ~Prebuilder();

  // The run is at object `index`: workers may build up to a window ahead.
  void Reached(std::size_t index);
  // The document of object `index` when a worker built it, waiting for the
  // worker; nothing when no worker took the object.
  std::unique_ptr<Prebuilt> Take(std::size_t index);

 private:
  enum class Slot : unsigned char { Free, Building, Built, Left };
  void Work(std::unique_ptr<Backend> connection);

  // What a worker's component starts from: the run's, as it stands once the
  // selection is made (none of it changes while the objects are walked).
  const ClassTraits& traits_;
  const ClientSettings settings_;
  const RunState seed_;
  const std::string connection_;
  const int statementTimeout_;
  const GenerationRun& run_;
  const std::vector<SelectedObject>& selection_;
  const std::size_t window_;
  std::mutex mutex_;
  // Each side is woken only when it waits: the workers for the window to
  // move on, the run for the object at hand.
  std::condition_variable windowMoved_, objectBuilt_;
  std::size_t waitingWorkers_ = 0;
  bool runWaiting_ = false;
  std::vector<Slot> slots_;
  std::vector<std::unique_ptr<Prebuilt>> results_;
  std::size_t next_ = 0;  // the next object a worker may take
  std::size_t turn_ = 0;  // the object the run is at
  bool stopping_ = false;
  std::vector<std::thread> threads_;
};

class GenerationRun {
 public:
  explicit GenerationRun(Component& c) : c_(c), t_(c.traits), legacy_(c.traits.kind == ClassKind::Legacy) {}

  // The same run on a worker's component, which builds the plain document
  // of one object into `into` instead of storing it.
  GenerationRun(Component& worker, const GenerationRun& run, Prebuilt* into)
      : c_(worker), t_(run.t_), legacy_(run.legacy_), sapp_(run.sapp_), tapp_(run.tapp_), profile_(run.profile_),
        into_(into) {}

  // A worker's turn: the object as the run would treat it; true when its
  // plain document was built.
  bool Prebuild(const SelectedObject& selected) {
    ExportObject(selected);
    // What the worker's run kept of the object is not the run's.
    c_.run.objects.clear();
    c_.run.listOfXMLGenerated.clear();
    static_cast<StringTextStream&>(*c_.services.log).Take();
    return into_->built;
  }

  void Run() {
    if (legacy_) ReadRelatedProfiles();
    ReadProfile();
    if (legacy_) ReadApplicationKind();
    ReadCheckedOutVersions();
    selection_ = SelectMappingObjects();
    const std::vector<SelectedObject>& selection = selection_;
    c_.run.objects.clear();
    c_.run.objects.reserve(selection.size());
    const VbLong total = static_cast<VbLong>(selection.size());
    if (c_.services.progress) c_.services.progress(0, total);  // the selection is known
    // A planning run builds nothing, so there is nothing to build ahead.
    if (c_.services.workers > 1 && !c_.run.planning && selection.size() > 1) {
      std::vector<std::unique_ptr<Backend>> connections = c_.services.repository.Companions(c_.services.workers);
      if (!connections.empty())
        prebuilder_ = std::make_unique<Prebuilder>(c_, *this, selection, std::move(connections));
    }
    for (turn_ = 0; turn_ < selection.size(); ++turn_) {
      if (prebuilder_) prebuilder_->Reached(turn_);
      AnnounceSearches(turn_);
      ExportObject(selection[turn_]);
      if (c_.services.progress) c_.services.progress(n_.objects, total);
    }
    prebuilder_.reset();
    // The legacy counters are Longs; the properties that publish them are
    // Integers.
    c_.run.xmlSuccess = CInt(static_cast<long long>(n_.success));
    c_.run.xmlWarnings = CInt(static_cast<long long>(n_.noMapping));
    c_.run.xmlErrors = CInt(static_cast<long long>(n_.errors));
    LogSummary(c_, n_);
  }

  // After the summary: the legacy side files, in order. False when the
  // conversion codes failed (their writer logged why).
  bool WriteSideFiles() {
    std::string codes;
    if (!Create_Conversion_Code_XML(c_, codes)) return false;
    WriteConversionCodeFiles(c_, codes);
    LogSideFileLine(c_, "Conversion Code XML Createad Successfully.");
    if (!Build_Schema_ini(c_, sapp_))
      Raise(124, "XML Generation", "Error encountered while building schema.ini file");
    LogSideFileLine(c_, "Schema.ini File Built Successfully.");
    if (!c_.run.lookupApplication.empty()) {
      if (!Build_Lookup_Application_File(c_, c_.run.lookupApplication))
        Raise(124, "XML Generation", "Error encountered while Creating LookupApplication file");
      LogSideFileLine(c_, "LookupApplication  File Built Successfully.");
    }
    if (IsTrue(c_.settings.splitVorps)) {
      // The split-information writer takes the profile number as an Integer.
      ConstructSplitInfoFile(c_, CInt(static_cast<long long>(c_.settings.migrationProfile)),
                             fs::ChildPath(c_.settings.xmlPath, "splitinfo.xml"));
    }
    return true;
  }

 private:
  std::string ProfileText() const { return CStr(static_cast<long long>(c_.settings.migrationProfile)); }
  BoundValue Profile() const { return NumberValue(c_.settings.migrationProfile); }

  // The profiles related to this one, for the function library: their
  // numbers joined by ",", or the profile's own number.
  void ReadRelatedProfiles() {
    Recordset rs = c_.Query("select pprf from qxmap101 where mprf = " + Profile());
    if (!rs.HasRow()) {
      c_.run.relatedProfiles = ProfileText();
      return;
    }
    std::string list = rs.GetString(",", ",", "");
    if (InStr(list, ",") > 0) list = Left(list, Len(list) - 1);
    c_.run.relatedProfiles = list;
  }

  void ReadProfile() {
    Recordset rs = c_.Query(" select qxmap100.* from qxmap100 where mprf = " + Profile());
    if (!rs.HasRow()) Raise(111, "XML Generation", "Migration Profile No. " + ProfileText() + " not available.");
    sapp_ = ApplicationCode(rs.Field("sapp"));
    tapp_ = ApplicationCode(rs.Field("tapp"));
    TakeProfileRow(rs, profile_);
    if (legacy_) c_.run.lookupApplication = rs.Field("apln").AsText();
  }

  // The legacy class keeps application codes in 15 characters.
  std::string ApplicationCode(const Value& v) const {
    return legacy_ ? FixedLength(v.AsText(), 15) : v.AsText();
  }

  // The profile values a row of qxmap100 gives: the selected profile's, or a
  // parent's when the search traverses.
  void TakeProfileRow(const Recordset& rs, ProfileView& view) const {
    view.mprf = ClassNumber(t_, rs.Field("mprf").AsNumber());
    view.own = TripleOf(rs.Field("vers"), rs.Field("rele"), rs.Field("cust"));
    view.derivedFrom = TripleOf(rs.Field("verf"), rs.Field("relf"), rs.Field("cusf"));
    view.depth = ClassNumber(t_, rs.Field("deph").AsNumber());
    view.checkedOutFlag = rs.Field("scme").AsText() == "Y";
  }

  // A target application that the data dictionary describes (a qxddi100 row
  // with extn = 1) gets its table bounds in three digits; any other is a set
  // of legacy files, selected from qxlgy140.
  void ReadApplicationKind() {
    Recordset rs = c_.Query("select * from qxddi100 where appl = " + TextValue(tapp_) + " and extn = 1");
    c_.run.legacyApplication = !rs.HasRow();
    if (c_.run.legacyApplication) return;
    c_.settings.tableFrom = Right("000" + LCase(c_.settings.tableFrom), 3);
    c_.settings.tableTo = Right("000" + LCase(c_.settings.tableTo), 3);
  }

  Triple CheckedOutTriple(VbLong profile) const {
    Recordset rs = c_.Query("select dver, drel, dcus  from qxmap105 where mprf = " + NumberValue(profile));
    if (!rs.HasRow()) return Triple{};
    return TripleOf(rs.Field("dver"), rs.Field("drel"), rs.Field("dcus"));
  }

  void ReadCheckedOutVersions() {
    if (legacy_) c_.settings.statusList = kEveryStatus;  // afresh for each run
    if (!IsSet(c_.settings.considerCheckedOutVersions)) return;
    if (profile_.checkedOutFlag) profile_.checkedOut = CheckedOutTriple(c_.settings.migrationProfile);
    c_.settings.statusList += 'C';
  }

  // The selected rows are read at once, so that their number is known.
  std::vector<SelectedObject> SelectMappingObjects() {
    ClientSettings& s = c_.settings;
    // Legacy target tables are listed with the legacy files.
    const std::string table = legacy_ && c_.run.legacyApplication ? "qxlgy140" : "qxddi140";
    const auto column = [&](std::string_view name) { return Statement::OwnText(table + "." + std::string(name)); };
    Statement statement = " select " + column("cpac") + "," + column("cmod") + "," + column("flno") + "  from " +
                          Statement::OwnText(table) + " where  " + column("appl") + " =" + TextValue(Trim(tapp_)) +
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
      statement += " " + column("cpac") + " between " + TextValue(s.packageFrom) + " and " +
                   TextValue(s.packageTo) + " and " + " " + column("cmod") + " between " + TextValue(s.moduleFrom) +
                   " and " + TextValue(s.moduleTo) + " and " + " " + column("flno") + " between " +
                   TextValue(s.tableFrom) + " and " + TextValue(s.tableTo);
    }
    Recordset rs = c_.Query(statement);
    if (!rs.HasRow())
      Raise(123, "XMLGeneration",
            "No Mapping Objects exists to generate XML Files for the selected Range  " + s.packageFrom +
                s.moduleFrom + s.tableFrom + " TO " + s.packageTo + s.moduleTo + s.tableTo +
                " Please select a valid range.");
    std::vector<SelectedObject> selection;
    for (; !rs.Eof(); rs.MoveNext())
      selection.push_back({rs.Field(0L).AsText(), rs.Field(1L).AsText(), rs.Field(2L).AsText()});
    return selection;
  }

  void Count(VbLong& counter) const { counter = ClassNumber(t_, static_cast<double>(counter) + 1); }

  // The record of the object at hand, whose outcome the status rules set.
  ObjectRecord& Record() { return c_.run.objects.back(); }

  ObjectCodes CodesOf(const SelectedObject& selected) const {
    return {FixedLength(selected.cpac, 2), FixedLength(selected.cmod, 3), ClassTableNumber(t_, selected.flno)};
  }

  // Every object's search starts with the same statement for its own codes:
  // those of the objects from `first` on, a window at a time, are announced
  // together, so that a server answers them in one exchange. Each still
  // runs in its turn.
  void AnnounceSearches(std::size_t first) {
    static constexpr std::size_t kSearchesAhead = 32;
    if (first < announced_ || profile_.depth < 1 || !c_.ReadsAhead()) return;
    announced_ = std::min(selection_.size(), first + kSearchesAhead);
    const Triple& preferred = profile_.Preferred();
    std::vector<Statement> ahead;
    ahead.reserve(announced_ - first);
    for (std::size_t i = first; i < announced_; ++i)
      ahead.push_back(MappingRowStatement(profile_.mprf, preferred, CodesOf(selection_[i])));
    c_.Prefetch(ahead);
  }

  void ExportObject(const SelectedObject& selected) {
    const ObjectCodes codes = CodesOf(selected);
    c_.run.currentPac = codes.pac;
    c_.run.currentMod = codes.mod;
    c_.run.currentFlno = codes.flno;
    const std::string code = c_.run.currentPac + c_.run.currentMod + c_.run.currentFlno;
    ProfileView view = profile_;
    n_.objects = CLng(static_cast<long long>(n_.objects) + 1);
    LogStarted(c_, n_.objects, code);
    c_.run.objects.emplace_back().code = code;

    Triple current = view.Preferred();
    std::optional<Recordset> row = FindMappingRow(codes, view, current);
    if (!row) {
      LogNoMappings(c_, code);
      Count(n_.noMapping);
      return;
    }
    Record().status = row->Field("stat").AsText();
    Record().profile = view.mprf;
    Record().vers = current.vers;
    Record().rele = current.rele;
    Record().cust = current.cust;
    c_.run.noOfXMLGenerated = CLng(static_cast<long long>(c_.run.noOfXMLGenerated) + 1);
    ApplyStatusRules(*row, ObjectRef{code, view.mprf, current}, view);
  }

  Statement MappingRowStatement(VbLong profile, const Triple& t, const ObjectCodes& object) const {
    std::vector<std::string> statuses;
    for (char letter : c_.settings.statusList) statuses.emplace_back(1, letter);
    return "select qxmap120.*  from qxmap120   where qxmap120.mprf = " + NumberValue(profile) +
           "  and qxmap120.vers =" + TextValue(t.vers) + " and qxmap120.rele =" + TextValue(t.rele) +
           " and qxmap120.cust =" + TextValue(t.cust) + " and qxmap120.tcpac=" + TextValue(object.pac) +
           " and qxmap120.tcmod =" + TextValue(object.mod) + " and qxmap120.tflno=" + TextValue(object.flno) +
           " and stat in (" + TextValues(statuses) + " )";
  }

  // The search: passes over the levels up to the depth, trying the
  // checked-out triple before the own one, and moving to the profile this
  // one was derived from when traversal is on. The generator gives a parent
  // profile passes of its own; the legacy class makes at most the selected
  // profile's depth of passes in all.
  std::optional<Recordset> FindMappingRow(const ObjectCodes& object, ProfileView& view, Triple& current) const {
    std::set<std::pair<VbLong, std::string>> visited{{view.mprf, view.own.vers + view.own.rele + view.own.cust}};
    VbLong level = 1;
    while (level <= view.depth) {
      Recordset rs = c_.Query(MappingRowStatement(view.mprf, current, object));
      if (rs.HasRow()) return rs;
      if (current == view.checkedOut && view.own != current) {
        current = view.own;  // the own triple is tried in the same pass
        continue;
      }
      ++level;
      if (!IsTrue(c_.settings.traverseGeneration)) continue;
      if (legacy_)
        MoveToParentWithinDepth(view);
      else
        MoveToParentProfile(view, level, visited);
      if (IsSet(c_.settings.considerCheckedOutVersions) && view.checkedOutFlag)
        view.checkedOut = CheckedOutTriple(view.mprf);
      else
        view.checkedOut = Triple{};
      current = view.Preferred();
    }
    return std::nullopt;
  }

  std::optional<ProfileView> ParentProfile(const ProfileView& view) const {
    Recordset rs = c_.Query(" select qxmap100.* from qxmap100  where qxmap100.vers =" +
                            TextValue(Trim(view.derivedFrom.vers)) + " and qxmap100.rele = " +
                            TextValue(Trim(view.derivedFrom.rele)) + " and qxmap100.cust = " +
                            TextValue(Trim(view.derivedFrom.cust)));
    if (!rs.HasRow()) return std::nullopt;
    ProfileView parent;
    TakeProfileRow(rs, parent);
    return parent;
  }

  // Generator: a parent found starts its own passes with its own depth and
  // checked-out flag. A parent already visited in this search (profiles
  // derived from each other in a circle) is not entered again, so the
  // search ends instead of running forever.
  void MoveToParentProfile(ProfileView& view, VbLong& level, std::set<std::pair<VbLong, std::string>>& visited) const {
    std::optional<ProfileView> parent = ParentProfile(view);
    if (!parent || !visited.insert({parent->mprf, parent->own.vers + parent->own.rele + parent->own.cust}).second)
      return;
    view = *parent;
    level = 1;
  }

  // Legacy: the parent's triples and number are taken; its depth and
  // checked-out flag are not, and the passes go on counting.
  void MoveToParentWithinDepth(ProfileView& view) const {
    std::optional<ProfileView> parent = ParentProfile(view);
    if (!parent) return;
    view.own = parent->own;
    view.derivedFrom = parent->derivedFrom;
    view.mprf = parent->mprf;
  }

  void ApplyStatusRules(const Recordset& row, const ObjectRef& object, const ProfileView& view) {
    // The status letter is compared exactly as stored.
    const std::string stat = row.Field("stat").AsText();
    if (stat == "X") {
      Record().outcome = ObjectOutcome::Expired;
      LogExpired(c_, object);
      if (!legacy_) Count(n_.errors);  // the legacy class counts it nowhere
      return;
    }
    // The legacy class skips every "E" object, the generator only with option 4.
    if (stat == "E" && (legacy_ || c_.settings.generationOption == 4)) {
      Record().outcome = ObjectOutcome::StatusError;
      LogStatusError(c_, object);
      Count(n_.errors);
      return;
    }
    // The legacy class keeps the pre-condition untrimmed.
    std::string prtx = legacy_ ? row.Field("prtx").AsText() : Trim(row.Field("prtx").AsText());
    const std::string comt = row.Field("comt").AsText();
    if (stat == "D") {
      Record().outcome = ObjectOutcome::CommentOnly;
      LogCommentOnly(c_, object);
      Count(n_.noMapping);
      return;
    }
    if (stat == "M" && prtx.empty() && comt.empty()) {
      Record().outcome = ObjectOutcome::NoRules;
      LogNoRules(c_, object);
      Count(n_.noMapping);
      return;
    }
    const Value& stbl = row.Field("stbl");
    MappingObject document;
    if (legacy_) {
      if (stbl.IsNull()) {
        Record().outcome = ObjectOutcome::NullSourceTables;
        LogNullSourceTables(c_, object);
        return;
      }
      document.stbl = Replace(stbl.AsText(), ",", " , ");
      prtx = Escape_XML_Text(c_, prtx);
    } else {
      document.stbl = stbl.AsText();
    }
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
    Export(row.Field("isms").AsFlag(), object.code, std::move(document));
  }

  // The generator lists every document written; the legacy class lists the
  // M-script members it handled.
  void Export(bool mscript, const std::string& code, MappingObject document) {
    if (mscript && InStr(c_.run.listOfXMLGenerated, code) > 0) {
      Record().outcome = ObjectOutcome::MScriptMemberSkipped;
      LogMScriptMemberSkipped(c_, code);
      Count(n_.mscript);
      return;
    }
    const bool written = Write(mscript, std::move(document));
    Record().outcome = mscript ? (written ? ObjectOutcome::MScriptWritten : ObjectOutcome::MScriptFailed)
                               : (written ? ObjectOutcome::Written : ObjectOutcome::Failed);
    if (!written) {
      Count(n_.errors);
      if (legacy_) LogDocumentFailed(c_, code, mscript);
      return;
    }
    if (!legacy_ || mscript) c_.run.listOfXMLGenerated += code + ",";
    LogCompleted(c_, code);
    Count(n_.success);
  }

  // The document of the object: written, or when planning only what marks
  // an M-script's members as handled.
  bool Write(bool mscript, MappingObject document) {
    if (into_ != nullptr) return mscript ? false : BuildAhead(std::move(document));
    if (!c_.run.planning && !mscript && prebuilder_) {
      std::unique_ptr<Prebuilt> built = prebuilder_->Take(turn_);
      if (built && built->object == document) return Store(*built, std::move(document));
    }
    if (!c_.run.planning) return mscript ? Create_MScript_XML(c_, std::move(document)) : Create_XML(c_, std::move(document));
    if (!mscript) return true;
    return Trapped(c_, c_.traits.mscriptTrap, [&] {
      c_.run.listOfXMLGenerated += MScriptMembers(c_, document) + ",";
      return true;
    });
  }

  // On a worker: builds the document with its folder and file left alone,
  // keeping what it logged and the error description it left.
  bool BuildAhead(MappingObject document) {
    auto& log = static_cast<StringTextStream&>(*c_.services.log);
    log.Take();  // the lines before the document are the run's
    into_->object = document;
    const std::string marker(1, '\0');
    c_.run.errorDescription = marker;
    c_.run.prebuilding = &into_->document;
    const long failures = c_.services.repository.Failures();
    into_->result = Create_XML(c_, std::move(document));
    c_.run.prebuilding = nullptr;
    into_->log = log.Take();
    if (c_.run.errorDescription != marker) into_->errorDescription = c_.run.errorDescription;
    // A statement that failed may have failed on this worker's connection
    // alone, and some readers carry on past a failure: the run builds such a
    // document again itself, and meets a failure of its own where there is
    // one.
    into_->built = c_.services.repository.Failures() == failures;
    return into_->result;
  }

  // On the run: a document built ahead, stored as Create_XML would have
  // stored it, with what its build logged. A folder that cannot be made
  // failed before any section in Create_XML, so then the run builds the
  // document itself and meets the failure where Create_XML meets it.
  bool Store(Prebuilt& built, MappingObject document) {
    if (built.document.folderReached) {
      try {
        ObjectFolder(c_, document.tcpac + document.tcmod);
      } catch (...) {
        return Create_XML(c_, std::move(document));
      }
    }
    if (!built.log.empty()) c_.Log().Write(built.log);
    if (built.errorDescription) c_.run.errorDescription = *built.errorDescription;
    if (!built.result) return false;
    const PrebuiltDocument& d = built.document;
    return Trapped(c_, c_.traits.createXmlTrap, [&] {
      StoreDocument(c_, d.folder, d.baseName, d.text);
      return true;
    });
  }

  Component& c_;
  const ClassTraits& t_;
  const bool legacy_;
  std::string sapp_, tapp_;
  ProfileView profile_;
  RunCounters n_;
  Prebuilt* into_ = nullptr;  // a worker's: where the document goes
  // The workers read the selection: it is a member declared before them, so
  // that they stop before it goes, however the run ends.
  std::vector<SelectedObject> selection_;
  std::unique_ptr<Prebuilder> prebuilder_;
  std::size_t turn_ = 0;  // the selected object at hand
  std::size_t announced_ = 0;  // the objects whose search was announced
};

// The values of the run that the document writers read.
RunState Seed(const RunState& run) {
  RunState seed;
  seed.legacyApplication = run.legacyApplication;
  seed.lookupApplication = run.lookupApplication;
  seed.relatedProfiles = run.relatedProfiles;
  return seed;
}

Prebuilder::Prebuilder(const Component& c, const GenerationRun& run, const std::vector<SelectedObject>& selection,
                       std::vector<std::unique_ptr<Backend>> connections)
    : traits_(c.traits),
      settings_(c.settings),
      seed_(Seed(c.run)),
      connection_(c.services.repository.ConnectionString()),
      statementTimeout_(c.services.repository.StatementTimeout()),
      run_(run),
      selection_(selection),
      window_(8 * connections.size()),
      slots_(selection.size(), Slot::Free),
      results_(selection.size()) {
  // Fewer workers when the system gives no more threads; the run builds
  // what no worker takes.
  try {
    for (auto& connection : connections) threads_.emplace_back(&Prebuilder::Work, this, std::move(connection));
  } catch (...) {
    // the threads that started work on; the destructor joins them
  }
}

Prebuilder::~Prebuilder() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  windowMoved_.notify_all();
  for (std::thread& t : threads_) t.join();
}

void Prebuilder::Reached(std::size_t index) {
  bool wake;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    turn_ = index;
    wake = waitingWorkers_ > 0;
  }
  if (wake) windowMoved_.notify_all();
}

std::unique_ptr<Prebuilt> Prebuilder::Take(std::size_t index) {
  std::unique_lock<std::mutex> lock(mutex_);
  if (slots_[index] == Slot::Free) {
    slots_[index] = Slot::Left;  // the run builds it itself
    return nullptr;
  }
  runWaiting_ = true;
  objectBuilt_.wait(lock, [&] { return slots_[index] != Slot::Building; });
  runWaiting_ = false;
  return std::move(results_[index]);
}

void Prebuilder::Work(std::unique_ptr<Backend> connection) {
  Component worker(traits_);
  worker.settings = settings_;
  worker.run = seed_;
  worker.services.repository.SetConnectionString(connection_);
  worker.services.repository.SetStatementTimeout(statementTimeout_);
  worker.services.repository.Adopt(std::move(connection));
  worker.services.log = std::make_shared<StringTextStream>();
  // What a worker logs with a time is the run's to log: the client's clock
  // is called on the run's thread only.
  worker.services.clock = [] { return std::string(); };
  for (;;) {
    std::size_t index;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      for (;;) {
        next_ = std::max(next_, turn_);  // the objects the run has passed are done
        while (next_ < slots_.size() && slots_[next_] != Slot::Free) ++next_;
        if (stopping_ || next_ >= slots_.size()) return;
        if (next_ < turn_ + window_) break;
        ++waitingWorkers_;
        windowMoved_.wait(lock);
        --waitingWorkers_;
      }
      index = next_++;
      slots_[index] = Slot::Building;
    }
    auto built = std::make_unique<Prebuilt>();
    bool failed = false;
    try {
      GenerationRun ahead(worker, run_, built.get());
      if (!ahead.Prebuild(selection_[index])) built.reset();
    } catch (...) {
      // The run meets whatever failed here itself. A statement of the run's
      // own that failed (the search) means the connection or the snapshot
      // is gone; this worker stops rather than try again for every object.
      built.reset();
      failed = true;
    }
    bool wake;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      results_[index] = std::move(built);
      slots_[index] = Slot::Built;
      wake = runWaiting_;
    }
    if (wake) objectBuilt_.notify_one();
    if (failed) return;
  }
}

}  // namespace

VbBoolean GenerateXMLFile(Component& c) {
  c.run.noOfXMLGenerated = 0;
  VbBoolean result = kTrue;
  // The run reads one snapshot on a connection of its own, which a SQLite
  // file opens together with the workers' (a planning run builds nothing
  // ahead).
  c.services.repository.Disconnect();
  if (c.services.workers > 1 && !c.run.planning) c.services.repository.ShareSnapshot(c.services.workers);
  try {
    GenerationRun run(c);
    run.Run();
    if (c.traits.kind == ClassKind::Legacy && !c.run.planning && !run.WriteSideFiles()) result = kFalse;
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

VbBoolean PlanRun(Component& c) {
  // A plan leaves the object as it found it (the run changes the status and
  // selection lists, the bounds, the handled list and the counters); only
  // the outcomes stay: each object's, and why the run failed if it did.
  const ClientSettings settings = c.settings;
  const RunState run = c.run;
  std::shared_ptr<TextStream> log = std::exchange(c.services.log, std::make_shared<NullTextStream>());
  c.run.planning = true;
  const VbBoolean result = GenerateXMLFile(c);  // never raises
  std::vector<ObjectRecord> objects = std::move(c.run.objects);
  std::string errorDescription = std::move(c.run.errorDescription);
  c.settings = settings;
  c.run = run;
  c.run.objects = std::move(objects);
  c.run.errorDescription = std::move(errorDescription);
  c.services.log = std::move(log);
  return result;
}

}  // namespace tqlm
