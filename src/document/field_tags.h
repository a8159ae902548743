// The TFLD element of a table: its fields with child fields and domains.
#pragma once

#include <string>
#include <string_view>

#include "core/component.h"

namespace tqlm {

// Hands every plain field to the field records of the document. Raises 112
// inside its trap when the table has no fields. A legacy target application
// has its tables described by Construct_Legacy_Field_Tags.
// The statement that reads a table's plain fields.
Statement FieldsStatement(const Component& c, std::string_view appl, std::string_view tcpac, std::string_view tcmod,
                            std::string_view tflno);
bool Construct_Field_Tags(Component& c, Dictionary<CFieldInfo>& fields, std::string_view appl, std::string_view tcpac,
                          std::string_view tcmod, std::string_view tflno, std::string& text);

// The same element for a table described by a legacy file layout (qxlgy150).
bool Construct_Legacy_Field_Tags(Component& c, Dictionary<CFieldInfo>& fields, std::string_view appl,
                                 std::string_view tcpac, std::string_view tcmod, std::string_view tflno,
                                 std::string& text);

}  // namespace tqlm
