#include "run/generation_run.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <set>
#include <utility>
#include <vector>

#include "core/error_trap.h"
#include "document/create_xml.h"
#include "document/mscript.h"
#include "platform/filesystem.h"
#include "platform/text.h"
#include "run/object_search.h"
#include "run/output_files.h"
#include "run/run_log.h"
#include "run/selection.h"
#include "run/side_files.h"
#include "run/status_rules.h"
#include "run/store.h"
#include "run/workers.h"

namespace tqlm {

namespace {

// One run: the objects in selection order, each searched, judged by the
// status rules and, when exportable, built and stored, with its lines in
// the log; then the counters and the summary.
class GenerationRun {
 public:
  explicit GenerationRun(Component& c) : c_(c), legacy_(c.traits.kind == ClassKind::Legacy) {}

  void Run() {
    profile_ = ReadRunProfile(c_);
    selection_ = SelectMappingObjects(c_, profile_);
    c_.run.objects.clear();
    c_.run.objects.reserve(selection_.size());
    const VbLong total = static_cast<VbLong>(selection_.size());
    if (c_.services.progress) c_.services.progress(0, total);  // the selection is known
    // A planning run builds nothing, so there is nothing to build ahead.
    if (c_.services.workers > 1 && !c_.run.planning && selection_.size() > 1) {
      std::vector<Companion> connections = c_.services.repository.Companions(c_.services.workers);
      if (!connections.empty())
        workers_ = std::make_unique<DocumentWorkers>(c_, profile_, selection_, std::move(connections));
    }
    for (turn_ = 0; turn_ < selection_.size(); ++turn_) {
      if (workers_) workers_->Reached(turn_);
      AnnounceSearches(turn_);
      ExportObject(selection_[turn_]);
      if (c_.services.progress) c_.services.progress(n_.objects, total);
    }
    workers_.reset();
    // The legacy counters are Longs; the properties that publish them are
    // Integers.
    c_.run.xmlSuccess = CInt(static_cast<long long>(n_.success));
    c_.run.xmlWarnings = CInt(static_cast<long long>(n_.noMapping));
    c_.run.xmlErrors = CInt(static_cast<long long>(n_.errors));
    LogSummary(c_, n_);
  }

  const RunProfile& Profile() const { return profile_; }

 private:
  void Count(VbLong& counter) const { counter = ClassNumber(c_.traits, static_cast<double>(counter) + 1); }

  // The record of the object at hand, whose outcome the status rules set.
  ObjectRecord& Record() { return c_.run.objects.back(); }

  // Every object's search starts with the same statement for its own codes:
  // those of the objects from `first` on, a window at a time, are announced
  // together, so that a server answers them in one exchange. Each still
  // runs in its turn.
  void AnnounceSearches(std::size_t first) {
    static constexpr std::size_t kSearchesAhead = 32;
    const ProfileView& profile = profile_.profile;
    if (first < announced_ || profile.depth < 1 || !c_.ReadsAhead()) return;
    announced_ = std::min(selection_.size(), first + kSearchesAhead);
    std::vector<Statement> ahead;
    ahead.reserve(announced_ - first);
    for (std::size_t i = first; i < announced_; ++i)
      ahead.push_back(
          MappingRowStatement(c_.settings, profile.mprf, profile.Preferred(), CodesOf(c_.traits, selection_[i])));
    c_.Prefetch(ahead);
  }

  void ExportObject(const SelectedObject& selected) {
    const ObjectCodes codes = CodesOf(c_.traits, selected);
    c_.run.currentPac = codes.pac;
    c_.run.currentMod = codes.mod;
    c_.run.currentFlno = codes.flno;
    const std::string code = codes.Code();
    n_.objects = CLng(static_cast<long long>(n_.objects) + 1);
    LogStarted(c_, n_.objects, code);
    c_.run.objects.emplace_back().code = code;

    const std::optional<FoundRow> found = FindMappingRow(c_, profile_.profile, codes);
    if (!found) {
      LogNoMappings(c_, code);
      Count(n_.noMapping);
      return;
    }
    Record().status = found->row.stat;
    Record().profile = found->profile;
    Record().vers = found->triple.vers;
    Record().rele = found->triple.rele;
    Record().cust = found->triple.cust;
    c_.run.noOfXMLGenerated = CLng(static_cast<long long>(c_.run.noOfXMLGenerated) + 1);
    Decision decision = ApplyStatusRules(c_, *found, ObjectPlace{profile_.sapp, profile_.tapp, codes});
    const ObjectRef object{code, found->profile, found->triple};
    switch (decision.outcome) {
      case ObjectOutcome::Written: return Export(decision.mscript, code, std::move(decision.document));
      case ObjectOutcome::Expired: LogExpired(c_, object); break;
      case ObjectOutcome::StatusError: LogStatusError(c_, object); break;
      case ObjectOutcome::CommentOnly: LogCommentOnly(c_, object); break;
      case ObjectOutcome::NoRules: LogNoRules(c_, object); break;
      case ObjectOutcome::NullSourceTables: LogNullSourceTables(c_, object); break;
      default: break;
    }
    Record().outcome = decision.outcome;
    if (decision.counted == Counted::AsError) Count(n_.errors);
    if (decision.counted == Counted::AsNoMapping) Count(n_.noMapping);
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

  // The document of the object, built (by a worker ahead of its turn, or
  // now) and stored; when planning, only what marks an M-script's members
  // as handled.
  bool Write(bool mscript, MappingObject document) {
    if (c_.run.planning) {
      if (!mscript) return true;
      return Trapped(c_, c_.traits.mscriptTrap, [&] {
        c_.run.listOfXMLGenerated += MScriptMembers(c_, document) + ",";
        return true;
      });
    }
    if (mscript) {
      BuiltDocument built = Create_MScript_XML(c_, std::move(document));
      return Store(built);
    }
    if (workers_) {
      std::unique_ptr<DocumentAhead> ahead = workers_->Take(turn_);
      if (ahead && ahead->object == document) return Store(ahead->document, ahead->worker);
    }
    BuiltDocument built = Create_XML(c_, std::move(document), std::move(spare_));
    return Store(built);
  }

  // Stores the document, whose state becomes the component's; the state
  // the component kept until then goes back to the thread that built it,
  // room for a later build there.
  bool Store(BuiltDocument& built, std::optional<std::size_t> worker = std::nullopt) {
    const bool stored = StoreDocument(c_, built);
    if (stateBuilder_)
      workers_->Recycle(*stateBuilder_, std::move(built.state));
    else
      spare_ = std::move(built.state);
    stateBuilder_ = worker;
    return stored;
  }

  Component& c_;
  const bool legacy_;
  RunProfile profile_;
  RunCounters n_;
  // The workers read the selection: it is a member declared before them, so
  // that they stop before it goes, however the run ends.
  std::vector<SelectedObject> selection_;
  std::unique_ptr<DocumentWorkers> workers_;
  std::size_t turn_ = 0;       // the selected object at hand
  std::size_t announced_ = 0;  // the objects whose search was announced
  DocumentState spare_;        // room for the run's next build
  // The worker that built the component's document state; none when the
  // run did (or the state is the component's own from before the run).
  std::optional<std::size_t> stateBuilder_;
};

// The temporary files that runs no longer running left in the folders a run
// writes: the output folder and its package folders, and the Schema.ini
// folder of the legacy class.
void RemoveStaleFiles(Component& c) {
  for (const std::string& folder : {c.settings.xmlPath, c.traits.kind == ClassKind::Legacy
                                                            ? c.settings.schemaIniPath
                                                            : std::string()}) {
    if (folder.empty()) continue;
    try {
      fs::RemoveTemporaryFiles(folder);
    } catch (const Raised&) {
      // a folder that cannot be read meets its failure when written
    }
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
  const bool writes = !c.run.planning && !c.run.checking;
  if (writes) RemoveStaleFiles(c);
  c.run.writtenFolders.clear();
  try {
    GenerationRun run(c);
    run.Run();
    if (c.traits.kind == ClassKind::Legacy && !c.run.planning && !WriteSideFiles(c, run.Profile().sapp))
      result = kFalse;
    // Before the run reports its outcome, what it wrote is on disk.
    if (writes && c.services.sync) fs::SyncFolders(c.run.writtenFolders);
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

namespace {

// Runs `run` on the object and leaves the object as it found it (a run
// changes the status and selection lists, the bounds, the handled list, the
// counters and the document state); only the outcomes stay: each object's,
// the files checked, and why the run failed if it did.
template <class Run>
VbBoolean Trial(Component& c, Run&& run) {
  const ClientSettings settings = c.settings;
  const RunState before = c.run;
  const DocumentState document = c.document;
  const VbBoolean result = run();  // never raises
  std::vector<ObjectRecord> objects = std::move(c.run.objects);
  std::vector<CheckedFile> checked = std::move(c.run.checked);
  std::string errorDescription = std::move(c.run.errorDescription);
  c.settings = settings;
  c.run = before;
  c.document = document;
  c.run.objects = std::move(objects);
  c.run.checked = std::move(checked);
  c.run.errorDescription = std::move(errorDescription);
  return result;
}

}  // namespace

VbBoolean PlanRun(Component& c) {
  return Trial(c, [&] {
    std::shared_ptr<TextStream> log = std::exchange(c.services.log, std::make_shared<NullTextStream>());
    c.run.planning = true;
    const VbBoolean result = GenerateXMLFile(c);
    c.services.log = std::move(log);
    return result;
  });
}

VbBoolean CheckRun(Component& c, bool clear) {
  return Trial(c, [&] {
    c.run.checking = true;
    c.run.checked.clear();
    c.run.checkedPaths.clear();
    const VbBoolean result = GenerateXMLFile(c);
    if (clear && !c.settings.xmlPath.empty()) {
      // A run that clears the output folder first removes the files of this
      // tool that it does not write again.
      const std::set<std::string> written(c.run.checkedPaths.begin(), c.run.checkedPaths.end());
      for (const std::string& relative : FilesBelow(c.settings.xmlPath)) {
        const std::string path = c.settings.xmlPath + "/" + relative;
        if (IsOutputFile(relative) && written.count(path) == 0) c.run.checked.push_back({path, FileChange::Gone});
      }
    }
    return result;
  });
}

}  // namespace tqlm
