#include "run/store.h"

#include <algorithm>
#include <utility>

#include "core/error_trap.h"
#include "platform/error.h"
#include "platform/filesystem.h"

namespace tqlm {

namespace {

// Removes the file of a name, when there is one. A read-only file stays
// unless the name says otherwise, as an overwrite would have been refused.
void RemoveFile(const SideFiles::Name& name) noexcept {
  try {
    if (fs::FileExists(name.path)) fs::DeleteFile(name.path, name.overReadOnly);
  } catch (...) {
    // A file that may not go stays; the error that ended the writing, if
    // any, is the one reported.
  }
}

// Writes a file into `folder`, which the run then makes durable.
template <class Write>
void Written(Component& c, const std::string& folder, Write&& write) {
  write();
  if (c.run.writtenFolders.empty() || c.run.writtenFolders.back() != folder) c.run.writtenFolders.push_back(folder);
}

// A checking run: what writing `bytes` as `path` would change.
void CheckFile(Component& c, const std::string& path, const std::string& bytes) {
  c.run.checkedPaths.push_back(path);
  if (!fs::FileExists(path)) {
    c.run.checked.push_back({path, FileChange::New});
    return;
  }
  if (fs::ReadFile(path) != bytes) c.run.checked.push_back({path, FileChange::Changed});
}

}  // namespace

bool StoreDocument(Component& c, BuiltDocument& d) {
  if (d.handledMembers) c.run.listOfXMLGenerated += *d.handledMembers + ",";
  if (!d.logBeforeFolder.empty()) c.Log().Write(d.logBeforeFolder);
  const bool stored = Trapped(c, d.trap, [&] {
    // Nothing goes through a link below the output folder, wherever it
    // points.
    const fs::EntryKind folder = d.folder.empty() ? fs::EntryKind::kFolder : fs::EntryAt(d.folder);
    if (folder == fs::EntryKind::kLink)
      Raise(kErrPathFileAccess, "XML Generation",
            "The folder " + d.folder + " is a symbolic link: no document is written through it.");
    if (folder != fs::EntryKind::kFolder && !c.run.checking) fs::CreateFolder(d.folder);
    if (!d.log.empty()) c.Log().Write(d.log);
    if (d.errorDescription) c.run.errorDescription = *d.errorDescription;
    if (!d.complete) return false;
    const std::string path = fs::ChildPath(d.folder, d.fileName);
    if (c.run.checking)
      CheckFile(c, path, d.bytes);
    else
      Written(c, d.folder, [&] { fs::WriteFile(path, d.bytes, d.ownerOnly ? fs::FileAccess::OwnerOnly : fs::FileAccess::Shared); });
    return true;
  });
  // The object keeps what the build left, and the document takes what the
  // object kept, and the room its bytes took: room for a later build.
  std::swap(c.document, d.state);
  d.state.text = std::move(d.bytes);
  return stored;
}

void StoreSideFiles(Component& c, const SideFiles& s) {
  if (c.run.checking) {
    for (const SideFiles::File& file : s.files) CheckFile(c, file.path, file.bytes);
    for (const SideFiles::Name& name : s.begun) {
      const bool completed = std::any_of(s.files.begin(), s.files.end(),
                                         [&](const SideFiles::File& file) { return file.path == name.path; });
      if (!completed && fs::FileExists(name.path)) c.run.checked.push_back({name.path, FileChange::Gone});
    }
    return;
  }
  for (const SideFiles::Name& name : s.begun) {
    const bool completed = std::any_of(s.files.begin(), s.files.end(),
                                       [&](const SideFiles::File& file) { return file.path == name.path; });
    if (!completed || name.overReadOnly) RemoveFile(name);
  }
  try {
    for (const SideFiles::File& file : s.files) {
      const std::size_t slash = file.path.rfind('/');
      Written(c, slash == std::string::npos ? std::string(".") : file.path.substr(0, slash), [&] {
        fs::WriteFile(file.path, file.bytes, file.ownerOnly ? fs::FileAccess::OwnerOnly : fs::FileAccess::Shared);
      });
    }
  } catch (...) {
    for (const SideFiles::Name& name : s.begun) RemoveFile(name);
    throw;
  }
}

}  // namespace tqlm
