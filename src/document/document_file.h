// Pieces shared by the two document writers: building a document section by
// section with the fragment check, and the document as a value that the run
// stores: its folder, file name and bytes, and what its build logged.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/component.h"
#include "core/document_state.h"
#include "core/mapping_object.h"
#include "core/trap_style.h"
#include "repository/statement.h"

namespace tqlm {

// A section writer fills and reads the document's state, and may extend the
// object's source-table list (the legacy variable writer does); the later
// sections see the extended list.
using SectionWriter = bool (*)(Component&, DocumentState&, MappingObject&, std::string&);

// A writer that only reads the object, as a SectionWriter.
template <bool (*Writer)(Component&, DocumentState&, const MappingObject&, std::string&)>
bool Reading(Component& c, DocumentState& document, MappingObject& object, std::string& text) {
  return Writer(c, document, object, text);
}

// The statements a section's readers run that depend on the object alone, in
// the order they run them, built by the readers' own statement builders: a
// server may be asked for them at once.
using StatementsAhead = std::vector<Statement> (*)(const Component&, const MappingObject&);

struct Section {
  SectionWriter write;
  std::string_view checkWrapper;  // element wrapped around the fragment for the check only
  StatementsAhead ahead = nullptr;
};

// The statements ahead of every section, in order.
std::vector<Statement> SectionStatements(const Component& c, const MappingObject& object,
                                         std::span<const Section> sections);

// Appends a section's fragment to the document. The generator checks every
// fragment that is not blank (wrapped when the section asks for it) and
// refuses one that is not well-formed; the legacy class appends every
// fragment unchecked, unless `checkAlways` (M-script documents of both).
bool AppendFragment(const Component& c, std::string& document, const std::string& fragment,
                    std::string_view checkWrapper, bool checkAlways);

// Calls the section writers in order and appends their fragments; False at
// the first writer that fails or fragment that is refused.
bool AppendSections(Component& c, DocumentState& state, MappingObject& object, std::span<const Section> sections,
                    bool checkAlways, std::string& document);

// With split processing on (the client's SplitVorps), the object's
// pre-condition gains the split queries of the table `code`; False when they
// could not be added.
bool ExtendPreconditionForSplit(Component& c, DocumentState& state, MappingObject& object, std::string_view code);

// A table code that names an element of the document must be an XML name;
// another raises 5 saying so, before anything is written.
void RequireElementName(const std::string& code);

// A document as its build leaves it: nothing of it is on disk. The run
// stores it: makes its folder, writes its file, logs what it logged.
struct BuiltDocument {
  bool complete = false;        // every writer returned True: the file is to be written
  std::string folder;           // its package folder; empty when the build ended before naming it
  std::string fileName;         // its file in that folder
  std::string bytes;
  bool ownerOnly = false;       // it names a password: readable by its owner alone
  // What the build logged before it named its folder, and after: a folder
  // that cannot be made ends the document there, as a writer that makes
  // its folder first would have ended.
  std::string logBeforeFolder, log;
  std::optional<std::string> errorDescription;  // the last error line the build stored
  std::optional<std::string> handledMembers;    // an M-script's members, handled whatever became of it
  TrapStyle trap{};             // the writer's trap, for a failure of the store
  DocumentState state;          // what the build left
};

// The folder of an object's documents, below the output folder (only
// named: the run makes it).
std::string ObjectFolder(const Component& c, std::string_view pacMod);
// The file of a finished document: plain text as base + ".XML" for the
// generator, Base64 of the trimmed text under the bare base name for the
// legacy class.
void SetDocumentFile(const Component& c, BuiltDocument& out, const std::string& baseName, std::string text);

}  // namespace tqlm
