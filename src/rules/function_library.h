// The function library of the legacy class: include lines ("#include
// <name>") in a mapping object's variables pull a function's definition from
// qxlib100, and "table name" declarations in a definition add source tables.
#pragma once

#include <string>
#include <string_view>

#include "core/component.h"

namespace tqlm {

// Removes every include line from `text`, returns the included definitions
// (each after a CR LF) in `functions` and extends `tables` (" , "-joined)
// by the tables they declare. No trap: 1000 reaches the caller.
void Process_Includes(Component& c, std::string& text, std::string& functions, std::string& tables);

// A library function's definition, from the highest of the run's related
// profiles that owns one (its checked-out version first when the client
// asked for those); its table declarations are moved to `tables`. Any
// failure raises 1000 "<name>Function does not exist in the function
// repository.".
std::string Get_Function_Definition(Component& c, const std::string& name, std::string& tables);

// Moves every "table name" declaration of a definition to `tables`.
void Get_Table_Declarations(std::string& definition, std::string& tables);

// The position of the first occurrence of `keyword` (any case) from `start`
// that stands outside comments and string literals of its line and between
// delimiters (the text's ends count as such); 0 when there is none.
long Find_Keyword(std::string_view text, std::string_view keyword, long start);

}  // namespace tqlm
