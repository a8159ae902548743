// The files this tool writes into an output folder, known by their names:
// documents in package folders, the legacy side files, the temporary files
// of a run under way.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tqlm {

// A document's name: "x" + table code + "0", as Base64 (legacy) or with
// ".XML" (generator and conversion codes as text).
bool IsDocumentName(std::string_view name);

// Whether a path below the output folder (relative, "/" between folders)
// names a file this tool writes there: a document in a package folder, a
// side file of the output folder, a temporary file.
bool IsOutputFile(std::string_view relative);

// The files below `folder` (Windows-1252), relative, sorted; links are not
// followed. Empty when the folder does not exist.
std::vector<std::string> FilesBelow(const std::string& folder);

}  // namespace tqlm
