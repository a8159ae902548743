#include "document/document_file.h"

#include <utility>

#include "platform/error.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "platform/xml_check.h"
#include "split/split_processing.h"
#include <tqlm/base64.h>

namespace tqlm {

bool AppendFragment(const Component& c, std::string& document, const std::string& fragment,
                    std::string_view checkWrapper, bool checkAlways) {
  if (!c.traits.checkFragments && !checkAlways) {
    document += fragment;
    return true;
  }
  // A fragment of nothing but blanks (what trims to empty) is skipped; the
  // test needs no trimmed copy of a fragment that may be large.
  if (fragment.find_first_not_of(' ') == std::string::npos) return true;
  bool wellFormed;
  if (checkWrapper.empty()) {
    wellFormed = IsWellFormedXml(fragment);
  } else {
    std::string wrapped;
    wrapped.reserve(fragment.size() + 2 * checkWrapper.size() + 5);
    wrapped.append("<").append(checkWrapper).append(">");
    wrapped.append(fragment);
    wrapped.append("</").append(checkWrapper).append(">");
    wellFormed = IsWellFormedXml(wrapped);
  }
  if (!wellFormed) return false;
  document += fragment;
  return true;
}

std::vector<Statement> SectionStatements(const Component& c, const MappingObject& object,
                                         std::span<const Section> sections) {
  std::vector<Statement> ahead;
  for (const Section& section : sections) {
    if (section.ahead == nullptr) continue;
    for (Statement& statement : section.ahead(c, object)) ahead.push_back(std::move(statement));
  }
  return ahead;
}

bool AppendSections(Component& c, DocumentState& state, MappingObject& object, std::span<const Section> sections,
                    bool checkAlways, std::string& document) {
  for (const Section& section : sections) {
    std::string fragment;
    if (!section.write(c, state, object, fragment)) return false;
    if (!AppendFragment(c, document, fragment, section.checkWrapper, checkAlways)) return false;
  }
  return true;
}

bool ExtendPreconditionForSplit(Component& c, DocumentState& state, MappingObject& object, std::string_view code) {
  if (!IsTrue(c.settings.splitVorps)) return true;
  std::string extended;
  if (!AddSplitQueries_to_Precondition(c, state, object.sapp, object.prtx, code, extended)) return false;
  object.prtx = extended;
  return true;
}

void RequireElementName(const std::string& code) {
  if (!IsXmlName(UCase(code)))
    Raise(kErrInvalidCall, "XML Generation", "The table code " + code + " cannot name an XML element.");
}

std::string ObjectFolder(const Component& c, std::string_view pacMod) {
  return fs::ChildPath(c.settings.xmlPath, pacMod);
}

void SetDocumentFile(const Component& c, BuiltDocument& out, const std::string& baseName, std::string text) {
  if (c.traits.storage == DocumentStorage::PlainText) {
    out.fileName = baseName + ".XML";
    out.bytes = std::move(text);
    return;
  }
  out.fileName = baseName;
  out.bytes = Encode_Base64(Trim(text));
  // A document that names a connection carries its password.
  out.ownerOnly = text.find("<PSWD>") != std::string::npos;
}

}  // namespace tqlm
