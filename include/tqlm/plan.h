// What a run does with each selected mapping object: the outcome a run
// records for it, and a planning run's answer (what a run would do).
#pragma once

#include <string>

#include <tqlm/types.h>

namespace tqlm {

// What a run did with one selected mapping object (a planning run: would do).
enum class ObjectOutcome {
  Written,               // its document (a planning run: would be written)
  Failed,                // its document failed
  MScriptWritten,        // the M-script document of its parent
  MScriptFailed,         // that document failed (or the parent is missing)
  MScriptMemberSkipped,  // handled with its M-script already
  NoMappings,            // no mapping-object row: WARNING
  Expired,               // status X
  StatusError,           // status E skipped as an error
  CommentOnly,           // status D
  NoRules,               // status M without rules
  NullSourceTables,      // legacy: no source-table list
};

struct ObjectRecord {
  std::string code;
  std::string status;  // empty without a mapping-object row
  VbLong profile = 0;  // where the search ended
  std::string vers, rele, cust;
  ObjectOutcome outcome = ObjectOutcome::NoMappings;
};

// What a run would do to a file of its folders, as a checking run finds it.
enum class FileChange {
  Changed,  // the run would write other bytes than the file holds
  New,      // the run would write a file that is not there
  Gone,     // the run would remove the file (the output folder cleared first)
};

struct CheckedFile {
  std::string path;  // Windows-1252, below the output folder or the Schema.ini folder
  FileChange change = FileChange::New;
};

}  // namespace tqlm
