// The source side of a legacy INFO section: SRC_INFO, for every source table
// its file's skip count or its connection, and its field names.
#pragma once

#include <string>
#include <string_view>

#include "core/component.h"

namespace tqlm {

// `stbl` is the source-table list, entries separated by ",". A file entry
// (one holding ".txt" or ".csv") without its file details, or a table entry
// without its connection, raises 124 inside the trap.
bool Construct_Source_Info_Tag(Component& c, std::string_view appl, std::string_view stbl, std::string& text);

// "<NSKP>" nskp "</NSKP>" of a file's qxlgy141 row; empty without one.
bool Get_Legacy_File_details(Component& c, std::string_view appl, std::string_view cpac, std::string_view cmod,
                             std::string_view flno, std::string& text);

// DSN, LOGN and PSWD of a table's qxlgy140 row, each escaped and on a line
// of its own; False without a row. After an error: True with the elements
// built before it.
bool Construct_Connection_Tags(Component& c, std::string_view appl, std::string_view cpac, std::string_view cmod,
                               std::string_view flno, std::string& text);

}  // namespace tqlm
