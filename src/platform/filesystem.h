// Stand-in for the scripting runtime's FileSystemObject and for binary file
// output. Paths are Windows-1252 text, converted to UTF-8 when a file is
// opened; "/" separates folders.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <tqlm/files.h>

#include "platform/paths.h"

namespace tqlm::fs {

// Who may read a file written here: everyone the folder lets in, or only its
// owner (files that carry a password).
enum class FileAccess { Shared, OwnerOnly };


// Creates one folder level: 76 when the parent is missing, 58 when the
// folder exists, 70 when access is denied.
void CreateFolder(const std::string& path);

// Empties a folder and keeps it: everything below it goes, read-only entries
// included, links removed but never followed. Before anything is touched it
// refuses (75) a protected folder and (70) one whose entries it may not
// remove; 76 when it does not exist.
void EmptyFolder(const std::string& path);

// Deletes a file: 53 when it does not exist, 70 when access is denied. A
// read-only file is refused unless `force`.
void DeleteFile(const std::string& path, bool force = false);

// The bytes of the file `path`: 53 when it does not exist, 70 when access
// is denied, 75 for other failures.
std::string ReadFile(const std::string& path);

// Writes exactly `bytes` as the file `path`, replacing what was there: the
// bytes go to a temporary file in the same folder that takes the final name
// only when complete, so the final name never holds a partial file. 76 when
// the folder is missing, 70 when access is denied, 61 when the disk is full,
// 75 for other failures. An OwnerOnly file is readable and writable by its
// owner alone.
void WriteFile(const std::string& path, std::string_view bytes, FileAccess access = FileAccess::Shared);

// Makes durable every file written below the folders: their file systems
// are synced, each once. Raises 61 (a full disk) or 75 naming the folder.
void SyncFolders(const std::vector<std::string>& folders);

// What stands at the path itself, a link not followed (one look).
enum class EntryKind { kNothing, kFolder, kLink, kOther };
EntryKind EntryAt(const std::string& path);

// Temporary files: the name one gets beside `path` and whether a file name
// is one.
std::string TemporaryPath(const std::string& path);
bool IsTemporaryName(std::string_view name);

// The error number of a failed write or close: 61 for a full disk or quota,
// 75 otherwise.
std::int32_t WriteErrorNumber(int error);

}  // namespace tqlm::fs
