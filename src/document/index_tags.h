// The IND element of a table: its indexes.
#pragma once

#include <string>
#include <string_view>

#include "core/component.h"

namespace tqlm {

// The statement that reads a table's indexes.
Statement IndexesStatement(std::string_view appl, std::string_view tcpac, std::string_view tcmod,
                             std::string_view tflno);
bool Construct_Index_Tags(Component& c, std::string_view appl, std::string_view tcpac, std::string_view tcmod,
                          std::string_view tflno, std::string& text);

}  // namespace tqlm
