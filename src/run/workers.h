// Workers that build plain documents ahead of the run, each on a connection
// of its own that reads the run's snapshot, at most a window of objects
// ahead of the run's turn. A worker runs an object's search and status rules
// as the run does and builds its plain document as a value; M-script
// objects, and objects whose search or build failed on the worker, are left
// to the run, which stores every document in selection order.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "core/component.h"
#include "document/document_file.h"
#include "run/selection.h"

namespace tqlm {

// A plain document a worker built, the object it was built for, and the
// worker whose memory its state is.
struct DocumentAhead {
  MappingObject object;
  BuiltDocument document;
  std::size_t worker = 0;
};

class DocumentWorkers {
 public:
  // One worker for each of `connections`, which it opens on its own thread
  // (one that cannot be opened leaves its share to the run). What a
  // worker's component starts from is the run's as it stands once the
  // selection is made (none of it changes while the objects are walked).
  DocumentWorkers(const Component& c, const RunProfile& run, const std::vector<SelectedObject>& selection,
                  std::vector<Companion> connections);
  DocumentWorkers(const DocumentWorkers&) = delete;
  DocumentWorkers& operator=(const DocumentWorkers&) = delete;
  ~DocumentWorkers();

  // The run is at object `index`: workers may build up to a window ahead.
  void Reached(std::size_t index);
  // The document of object `index` when a worker built it, waiting for the
  // worker; nothing when no worker took the object (the run builds it).
  std::unique_ptr<DocumentAhead> Take(std::size_t index);
  // A state that a document of `worker` built and no longer needs: room for
  // a later build of that worker, on the thread that grew it.
  void Recycle(std::size_t worker, DocumentState spent);

 private:
  enum class Slot : unsigned char { Free, Building, Built, Left };
  void Work(Companion connection, std::size_t number);
  std::unique_ptr<DocumentAhead> Build(Component& worker, std::size_t index, DocumentState room) const;

  const ClassTraits& traits_;
  const ClientSettings settings_;
  const RunState seed_;
  const std::string connection_;
  const int statementTimeout_;
  const RunProfile run_;
  const std::vector<SelectedObject>& selection_;
  const std::size_t window_;
  std::mutex mutex_;
  // Each side is woken only when it waits: the workers for the window to
  // move on, the run for the object at hand.
  std::condition_variable windowMoved_, objectBuilt_;
  std::size_t waitingWorkers_ = 0;
  bool runWaiting_ = false;
  std::vector<Slot> slots_;
  std::vector<std::unique_ptr<DocumentAhead>> results_;
  // Per worker, the states of its builds handed back: the lists a build
  // fills grow once, and stay with the thread whose memory they are.
  std::vector<std::vector<DocumentState>> spares_;
  std::size_t next_ = 0;  // the next object a worker may take
  std::size_t turn_ = 0;  // the object the run is at
  bool stopping_ = false;
  std::vector<std::thread> threads_;
};

}  // namespace tqlm
