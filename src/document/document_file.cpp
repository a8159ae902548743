#include "document/document_file.h"

#include "platform/error.h"
#include "platform/filesystem.h"
#include "platform/text.h"
#include "platform/xml_check.h"
#include "platform/base64.h"

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

bool AppendSections(Component& c, MappingObject& object, std::span<const Section> sections, bool checkAlways,
                    std::string& document) {
  for (const Section& section : sections) {
    std::string fragment;
    if (!section.write(c, object, fragment)) return false;
    if (!AppendFragment(c, document, fragment, section.checkWrapper, checkAlways)) return false;
  }
  return true;
}

void RequireElementName(const std::string& code) {
  if (!IsXmlName(UCase(code)))
    Raise(kErrInvalidCall, "XML Generation", "The table code " + code + " cannot name an XML element.");
}

std::string ObjectFolder(const Component& c, std::string_view pacMod) {
  std::string folder = fs::ChildPath(c.settings.xmlPath, pacMod);
  if (c.run.prebuilding != nullptr) {
    c.run.prebuilding->folderReached = true;  // made when the document is stored
    return folder;
  }
  if (!fs::FolderExists(folder)) fs::CreateFolder(folder);
  return folder;
}

void StoreDocument(const Component& c, const std::string& folder, const std::string& baseName,
                   const std::string& document) {
  if (c.run.prebuilding != nullptr) {
    *c.run.prebuilding = PrebuiltDocument{true, true, folder, baseName, document};
    return;
  }
  if (c.traits.storage == DocumentStorage::PlainText) {
    fs::WriteFile(fs::ChildPath(folder, baseName + ".XML"), document);
    return;
  }
  std::string path = fs::ChildPath(folder, baseName);
  if (fs::FileExists(path)) fs::DeleteFile(path);
  // A document that names a connection carries its password.
  const bool password = document.find("<PSWD>") != std::string::npos;
  fs::WriteFile(path, Encode_Base64(Trim(document)),
                password ? fs::FileAccess::OwnerOnly : fs::FileAccess::Shared);
}

}  // namespace tqlm
