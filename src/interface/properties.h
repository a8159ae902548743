// The property setters shared by both classes; the class traits say where
// the two store a value differently.
#pragma once

#include <string_view>

#include "core/component.h"

namespace tqlm {

// Range bounds: the generator keeps fixed-width lower-case texts (a package of
// 2, a module of 3, a table number as the last three characters of "000" and
// the value); the legacy class keeps packages and modules lower-cased and
// table numbers as given.
void SetPackageBound(Component& c, std::string& bound, std::string_view value);
void SetModuleBound(Component& c, std::string& bound, std::string_view value);
void SetTableBound(Component& c, std::string& bound, std::string_view value);

// Trims the stored path; with True (and a path) empties the folder of all
// its contents, or creates it when it is missing. File-system errors reach the
// caller: this property has no trap.
void SetClearXMLDirectory(Component& c, VbBoolean clear);

// Stores the selection list as the client gave it (not quoted by a run).
void SetSelectionList(Component& c, std::string_view list);

// Stores the option and, for 0 to 5, the status list it selects.
void SetGenerationOption(Component& c, VbLong option);

}  // namespace tqlm
