// Rewriting of the rule-language keywords the engine does not know:
// "target(...)" (an enumeration constant of the target application),
// "empty()" and "default()" in assignments to declared variables.
#pragma once

#include <string>
#include <string_view>

#include "core/component.h"

namespace tqlm {

// The public method: target keywords, then empty and default, the latter for
// the variables that `declarations` (the document's variable declarations)
// declares. Return_String is emptied first and holds the rewritten text on
// True.
bool Replace_Empty_Default_Target(Component& c, std::string_view declarations, std::string_view sourceApplication,
                                  std::string_view targetApplication, std::string_view text,
                                  std::string& Return_String);

// The target keywords alone (legacy class): the text unchanged when the
// target application is a set of legacy files. Its own trap yields "".
bool Replace_Target(Component& c, std::string_view targetApplication, std::string_view text, std::string& result);

// The value of one enumeration constant "(package+domain.name)" of `appl`;
// the text with a NOT FOUND comment when the data dictionary lacks it; "0"
// without a closing parenthesis. Errors give "" without a log line.
std::string Get_Enum_Constant(Component& c, std::string_view appl, std::string_view text);

// Rewrites assignments "name = empty()" (emptyMode) or "name = default()";
// the legacy class refuses them (124).
bool Replace_Empty_Default(Component& c, std::string_view declarations, std::string_view sourceApplication,
                           std::string_view text, bool emptyMode, std::string& result);

// The empty value of a declared variable, from its declaration among
// `declarations`. No trap: an undeclared variable raises 999 to the caller.
// False when a domain lookup failed.
bool Get_EmptyValuesForVariables(Component& c, std::string_view declarations, std::string_view sourceApplication,
                                 std::string_view name, std::string& value);

}  // namespace tqlm
