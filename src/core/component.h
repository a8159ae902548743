// The state behind both public classes, split by lifetime:
//   ClientSettings  set by the properties; kept between runs (a run changes
//                   the status list and the selection list in place)
//   RunState        written by a run: its results, the current mapping
//                   object, the values the legacy run keeps for its writers
//   DocumentState   filled while one document is built; reset when the
//                   next one starts
//   Services        the repository, the client's log stream, the clock
// and the traits of the class the object is. Every procedure of the
// component is a function over this state.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <tqlm/plan.h>

#include "core/class_traits.h"
#include "core/document_state.h"
#include <tqlm/records.h>
#include "platform/clock.h"
#include "platform/dictionary.h"
#include <tqlm/textstream.h>
#include "platform/vb_types.h"
#include "repository/connection.h"

namespace tqlm {

// Every status letter: what options 4 and 5 select, and what a legacy run
// selects.
inline constexpr std::string_view kEveryStatus = "VGMEXD";

struct ClientSettings {
  VbLong migrationProfile = 0;  // an Integer in the generator class
  std::string xmlPath;
  std::string userName;  // stored only
  std::string packageFrom, moduleFrom, tableFrom;
  std::string packageTo, moduleTo, tableTo;
  std::string listOfMappingObjectsSelected;
  bool selectionQuotedByRun = false;  // the run stored the list back quoted
  VbLong generationOption = 0;
  std::string statusList;  // the status letters the run selects, in order (an SQL in-list of texts)
  VbBoolean traverseGeneration = kFalse;
  VbBoolean considerCheckedOutVersions = kFalse;
  VbBoolean splitVorps = kFalse;
  VbBoolean include2GBCheck = kFalse;
  std::string schemaIniPath;
};

struct RunState {
  // A planning run selects and searches as a run does but writes nothing:
  // no document, no side file (its log is the caller's to discard).
  bool planning = false;
  // A checking run builds what a run writes and compares it with the files
  // there instead of writing: what would change, in the order met, and every
  // path it would write.
  bool checking = false;
  std::vector<CheckedFile> checked;
  std::vector<std::string> checkedPaths;
  // The folders a run wrote files into, made durable before it ends.
  std::vector<std::string> writtenFolders;
  std::vector<ObjectRecord> objects;  // of the last run, in selection order

  // Results, read by the client after a run.
  std::string errorDescription;
  unsigned long descriptionsStored = 0;  // how often a trap stored it
  VbLong noOfXMLGenerated = 0;
  // Table codes written, each followed by ","; the legacy class keeps the
  // members of the M-scripts it handled here. Never cleared.
  std::string listOfXMLGenerated;
  VbInteger xmlSuccess = 0, xmlWarnings = 0, xmlErrors = 0;

  // The current mapping object's table code (fixed width in the generator),
  // set by the run for each object; the last one stays after the run.
  std::string currentPac, currentMod, currentFlno;

  // Values the legacy run keeps for its writers.
  bool legacyApplication = false;  // target tables described as legacy files
  std::string lookupApplication;
  std::string relatedProfiles;
};

struct Services {
  Repository repository;
  // Told when the selection is known (none done), then after each selected
  // object: objects done, objects selected.
  std::function<void(VbLong done, VbLong total)> progress;
  std::shared_ptr<TextStream> log;  // the client's; never opened or closed here
  Clock clock = LocalNow;
  // Documents built at once: the run's own thread and workers that build
  // plain documents ahead on connections of their own.
  int workers = 1;
  // The files a run wrote are made durable (their file systems synced)
  // before it reports its outcome.
  bool sync = true;
};

struct Component {
  explicit Component(const ClassTraits& traits);

  const ClassTraits& traits;
  ClientSettings settings;
  RunState run;
  // What the last document built left, which the public methods that rewrite
  // rule texts read and fill as the documents' writers do.
  DocumentState document;
  Services services;

  // Runs a statement on the run's connection.
  Recordset Query(const Statement& statement) { return services.repository.Open(statement); }
  // Runs a lookup the run repeats (a domain, a constant, a library row):
  // the same statement gives the same rows, from memory after the first time.
  Recordset Lookup(const Statement& statement) { return services.repository.OpenRemembered(statement); }
  // Announces statements about to run, none depending on the rows of
  // another, so that a server may be asked for them at once. A hint only:
  // what each statement returns, in its turn, does not change.
  void Prefetch(const std::vector<Statement>& statements) { services.repository.Prefetch(statements); }
  // Whether announcing statements can help: readers build them only then.
  bool ReadsAhead() const { return services.repository.ReadsAhead(); }
  // The client's log stream; raises 91 when none was handed over.
  TextStream& Log() const;
  std::string Now() const { return services.clock(); }
};

}  // namespace tqlm
