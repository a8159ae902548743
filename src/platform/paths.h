// Paths as the component names them, before anything touches a file: "/"
// separates folders, names are Windows-1252 text.
#pragma once

#include <string>
#include <string_view>

namespace tqlm::fs {

// folder + "/" + name, for a name that comes from data: a name holding "/",
// "\", "..", a NUL or nothing at all raises 75, and an empty folder raises 76,
// so that nothing is ever written outside the folder.
std::string ChildPath(std::string_view folder, std::string_view name);

}  // namespace tqlm::fs
