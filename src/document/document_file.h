// Pieces shared by the two document writers: building a document section by
// section with the fragment check, and storing the finished document.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "core/mapping_object.h"
#include "core/component.h"

namespace tqlm {

// A section writer may extend the object's source-table list (the legacy
// variable writer does); the later sections see the extended list.
using SectionWriter = bool (*)(Component&, MappingObject&, std::string&);

// A writer that only reads the object, as a SectionWriter.
template <bool (*Writer)(Component&, const MappingObject&, std::string&)>
bool Reading(Component& c, MappingObject& object, std::string& text) {
  return Writer(c, object, text);
}

struct Section {
  SectionWriter write;
  std::string_view checkWrapper;  // element wrapped around the fragment for the check only
};

// Appends a section's fragment to the document. The generator checks every
// fragment that is not blank (wrapped when the section asks for it) and
// refuses one that is not well-formed; the legacy class appends every
// fragment unchecked, unless `checkAlways` (M-script documents of both).
bool AppendFragment(const Component& c, std::string& document, const std::string& fragment,
                    std::string_view checkWrapper, bool checkAlways);

// Calls the section writers in order and appends their fragments; False at
// the first writer that fails or fragment that is refused.
bool AppendSections(Component& c, MappingObject& object, std::span<const Section> sections, bool checkAlways,
                    std::string& document);

// A table code that names an element of the document must be an XML name;
// another raises 5 saying so, before anything is written.
void RequireElementName(const std::string& code);

// The folder of an object's documents (created when missing; only this one
// level) and the storing of one document in it: plain text as base + ".XML"
// for the generator, Base64 of the trimmed text under the bare base name for
// the legacy class. On a worker building a document ahead, neither touches
// the file system: the folder is only named and the document handed over.
std::string ObjectFolder(const Component& c, std::string_view pacMod);
void StoreDocument(const Component& c, const std::string& folder, const std::string& baseName,
                   const std::string& document);

}  // namespace tqlm
