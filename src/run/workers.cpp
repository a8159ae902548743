#include "run/workers.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "document/create_xml.h"
#include "run/object_search.h"
#include "run/status_rules.h"

namespace tqlm {

namespace {

// The values of the run that the document writers read.
RunState Seed(const RunState& run) {
  RunState seed;
  seed.legacyApplication = run.legacyApplication;
  seed.lookupApplication = run.lookupApplication;
  seed.relatedProfiles = run.relatedProfiles;
  return seed;
}

}  // namespace

DocumentWorkers::DocumentWorkers(const Component& c, const RunProfile& run,
                                 const std::vector<SelectedObject>& selection,
                                 std::vector<Companion> connections)
    : traits_(c.traits),
      settings_(c.settings),
      seed_(Seed(c.run)),
      connection_(c.services.repository.ConnectionString()),
      statementTimeout_(c.services.repository.StatementTimeout()),
      run_(run),
      selection_(selection),
      window_(8 * connections.size()),
      slots_(selection.size(), Slot::Free),
      results_(selection.size()),
      spares_(connections.size()) {
  // Fewer workers when the system gives no more threads; the run builds
  // what no worker takes.
  try {
    for (std::size_t i = 0; i < connections.size(); ++i)
      threads_.emplace_back(&DocumentWorkers::Work, this, std::move(connections[i]), i);
  } catch (...) {
    // the threads that started work on; the destructor joins them
  }
}

DocumentWorkers::~DocumentWorkers() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  windowMoved_.notify_all();
  for (std::thread& t : threads_) t.join();
}

void DocumentWorkers::Reached(std::size_t index) {
  bool wake;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    turn_ = index;
    wake = waitingWorkers_ > 0;
  }
  if (wake) windowMoved_.notify_all();
}

std::unique_ptr<DocumentAhead> DocumentWorkers::Take(std::size_t index) {
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

void DocumentWorkers::Recycle(std::size_t worker, DocumentState spent) {
  std::lock_guard<std::mutex> lock(mutex_);
  spares_[worker].push_back(std::move(spent));
}

std::unique_ptr<DocumentAhead> DocumentWorkers::Build(Component& worker, std::size_t index,
                                                      DocumentState room) const {
  const ObjectCodes codes = CodesOf(traits_, selection_[index]);
  const std::optional<FoundRow> found = FindMappingRow(worker, run_.profile, codes);
  if (!found) return nullptr;
  Decision decision = ApplyStatusRules(worker, *found, ObjectPlace{run_.sapp, run_.tapp, codes});
  if (decision.outcome != ObjectOutcome::Written || decision.mscript) return nullptr;
  const long failures = worker.services.repository.Failures();
  auto ahead = std::make_unique<DocumentAhead>(
      DocumentAhead{decision.document, Create_XML(worker, decision.document, std::move(room))});
  // A statement that failed may have failed on this worker's connection
  // alone, and some readers carry on past a failure: the run builds such a
  // document again itself, and meets a failure of its own where there is
  // one.
  if (worker.services.repository.Failures() != failures) return nullptr;
  return ahead;
}

void DocumentWorkers::Work(Companion connection, std::size_t number) {
  Component worker(traits_);
  worker.settings = settings_;
  worker.run = seed_;
  worker.services.repository.SetConnectionString(connection_);
  worker.services.repository.SetStatementTimeout(statementTimeout_);
  try {
    worker.services.repository.Adopt(connection.Open());
  } catch (...) {
    return;
  }
  // A worker's writers log into their documents; what a worker logs with a
  // time is the run's to log, and the client's clock is called on the run's
  // thread only.
  worker.services.log = std::make_shared<NullTextStream>();
  worker.services.clock = [] { return std::string(); };
  for (;;) {
    std::size_t index;
    DocumentState room;
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
      std::vector<DocumentState>& mine = spares_[number];
      if (!mine.empty()) {
        room = std::move(mine.back());
        mine.pop_back();
      }
    }
    std::unique_ptr<DocumentAhead> built;
    bool failed = false;
    try {
      built = Build(worker, index, std::move(room));
      if (built) built->worker = number;
    } catch (...) {
      // The run meets whatever failed here itself. A statement of the run's
      // own that failed (the search) means the connection or the snapshot
      // is gone; this worker stops rather than try again for every object.
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

}  // namespace tqlm
