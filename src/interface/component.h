// The state behind both public classes: the union of their fields, a tag
// saying which class it serves, and the services every procedure uses (the
// repository, the log stream, the clock). Each procedure of the component is
// a function over this state and branches on `kind` exactly where the two
// classes differ.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "interface/records.h"
#include "platform/clock.h"
#include "platform/dictionary.h"
#include "platform/textstream.h"
#include "platform/vb_types.h"
#include "repository/connection.h"

namespace tqlm {

enum class ClassKind { Generator, Legacy };

// State of one document, reset at the start of every document.
struct DocumentState {
  Dictionary<CFieldInfo> fields;          // field records, in field order
  VbInteger migrateCount = 0;             // "migrate" words of the pre-condition, minus one
  VbInteger sourceCounter = 0;
  std::string declarations;               // variable declarations of the object
  std::vector<std::string> tableNames;    // names for the messages of the source writer
  std::vector<std::string> sourceNames;
  std::string includeText;                // legacy include lines
  std::string legacyScratch;
};

struct Component {
  explicit Component(ClassKind kind);

  const ClassKind kind;
  bool IsGenerator() const { return kind == ClassKind::Generator; }
  bool IsLegacy() const { return kind == ClassKind::Legacy; }

  // Properties set by the client.
  VbLong migrationProfile = 0;  // Integer range in the generator class
  std::string xmlPath;
  std::string userName;  // stored only
  std::string packageFrom, moduleFrom, tableFrom;
  std::string packageTo, moduleTo, tableTo;
  std::string listOfMappingObjectsSelected;
  bool selectionQuotedByRun = false;  // the run stored the list back quoted
  VbLong generationOption = 0;
  std::string statusList;  // quoted status letters for an SQL in-list
  VbBoolean traverseGeneration = kFalse;
  VbBoolean considerCheckedOutVersions = kFalse;
  VbBoolean splitVorps = kFalse;
  VbBoolean include2GBCheck = kFalse;
  std::string schemaIniPath;
  std::shared_ptr<TextStream> log;

  // Results of the last run.
  std::string errorDescription;
  VbLong noOfXMLGenerated = 0;
  std::string listOfXMLGenerated;  // table codes written, each followed by ","
                                   // (the legacy class keeps its handled M-script members here)
  VbInteger xmlSuccess = 0, xmlWarnings = 0, xmlErrors = 0;

  // The current mapping object's table code, fixed width in the generator.
  std::string currentPac, currentMod, currentFlno;

  // Split processing of the current object: the split declarations and the
  // range condition per source table (key: source table code in upper case).
  std::string splitDeclarations;
  Dictionary<std::string> splitConditions;

  // Values the legacy run keeps for its writers.
  bool legacyApplication = false;  // target tables described as legacy files
  std::string lookupApplication;
  std::string relatedProfiles;

  DocumentState document;

  Repository repository;
  Clock clock = LocalNow;

  // The client's log stream; raises 91 when none was handed over.
  TextStream& Log() const;
  std::string Now() const { return clock(); }
};

// Empties the per-document state before a document is built.
void ResetDocumentState(Component& c);

}  // namespace tqlm
