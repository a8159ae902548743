// Stand-in for the scripting runtime's FileSystemObject and for binary file
// output. Paths are Windows-1252 text, converted to UTF-8 when a file is
// opened; "/" separates folders.
#pragma once

#include <string>
#include <string_view>

namespace tqlm::fs {

// Who may read a file written here: everyone the folder lets in, or only its
// owner (files that carry a password).
enum class FileAccess { Shared, OwnerOnly };

bool FolderExists(const std::string& path);
bool FileExists(const std::string& path);

// Creates one folder level: 76 when the parent is missing, 58 when the
// folder exists, 70 when access is denied.
void CreateFolder(const std::string& path);
// Deletes a folder with all its contents (read-only entries included):
// 76 when it does not exist.
void DeleteFolder(const std::string& path);
// Deletes a file: 53 when it does not exist, 70 when access is denied. A
// read-only file is refused unless `force`.
void DeleteFile(const std::string& path, bool force = false);

// Creates or truncates a file and writes exactly `bytes` to it: 76 when the
// folder is missing, 70 when access is denied, 75 for other failures.
// An OwnerOnly file is readable and writable by its owner alone, also when
// it existed before with wider permissions.
void WriteFile(const std::string& path, std::string_view bytes, FileAccess access = FileAccess::Shared);

// folder + "/" + name, for a name that comes from data: a name holding "/",
// "\", "..", a NUL or nothing at all raises 75, and an empty folder raises 76,
// so that nothing is ever written outside the folder.
std::string ChildPath(std::string_view folder, std::string_view name);

}  // namespace tqlm::fs
