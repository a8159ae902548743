// The state of one document while it is built, a value made for each build
// and passed to the writers that fill and read it:
//   split processing  -> splitDeclarations (variable writer), splitConditions (source writer)
//   variable writer   -> declarations (keyword rewriting, rule translation), includeText (function writer)
//   pre-condition     -> migrateCount (source writer)
//   field writer      -> fields (dump writer)
//   Create_XML        -> text (the document, handed to its file)
#pragma once

#include <string>

#include <tqlm/records.h>
#include "platform/dictionary.h"
#include "platform/vb_types.h"

namespace tqlm {

struct DocumentState {
  Dictionary<CFieldInfo> fields;  // field records, in field order
  VbInteger migrateCount = 0;     // "migrate" words of the pre-condition, minus one
  std::string declarations;       // variable declarations
  // Split processing of the document's pre-condition: the declarations of
  // the range variables and the range condition per source table, keyed by
  // the table code in upper case.
  std::string splitDeclarations;
  Dictionary<std::string> splitConditions;
  // The legacy functions string: definitions the variable writer includes,
  // then the function writer's own.
  std::string includeText;
  // The document's text while it is built; once the run has stored a
  // document, the room its bytes took.
  std::string text;

  // The state a build starts from, keeping the room the strings and lists
  // took, so that a later build fills them without growing them again.
  // Every member above is reset here.
  void Clear() {
    fields.RemoveAll();
    migrateCount = 0;
    declarations.clear();
    splitDeclarations.clear();
    splitConditions.RemoveAll();
    includeText.clear();
    text.clear();
  }
};

}  // namespace tqlm
