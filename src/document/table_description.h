// The readers that describe a table from the data dictionary: its fields
// (with child fields and domains) and its indexes, and the source side of
// the INFO section. Each returns False after logging its own error line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "document/mapping_object.h"
#include "interface/component.h"
#include "repository/recordset.h"

namespace tqlm {

// appl = '...' AND cpac = '...' AND cmod = '...' AND flno = '...': the
// condition by which the readers find one table of the data dictionary.
std::string TableCondition(std::string_view appl, std::string_view cpac, std::string_view cmod, std::string_view flno);

// Index part field names stand at positions 7 to 30 of a qxddi200 row.
inline constexpr long kFirstIndexPart = 7;
inline constexpr long kLastIndexPart = 30;

// The TFLD element of a table; hands every plain field to the field records.
bool Construct_Field_Tags(Component& c, std::string_view appl, std::string_view tcpac, std::string_view tcmod,
                          std::string_view tflno, std::string& text);

// The child field names of a combined field, joined by "|".
bool Construct_Child_Field_Tag(Component& c, std::string_view appl, std::string_view tcpac, std::string_view tcmod,
                               std::string_view tflno, std::string_view field, std::string& children);

// A domain's type (upper case), length, digits before and after the decimal
// point, case and alignment codes.
struct DomainDescription {
  std::string type, length, digitsBefore, caseCode, alignment, digitsAfter;
};
bool Construct_Domain_Tag(Component& c, std::string_view appl, std::string_view domain, DomainDescription& out);

// The IND element of a table.
bool Construct_Index_Tags(Component& c, std::string_view appl, std::string_view tcpac, std::string_view tcmod,
                          std::string_view tflno, std::string& text);

// The index part field names of a qxddi200 row, as read, up to the first
// that is empty or Null (a part of blanks does not end the list).
std::vector<std::string> IndexParts(const Recordset& indexRow);

// The source side of the generator's INFO section.
bool Construct_SrcField_Tag(Component& c, std::string_view sapp, std::string_view stbl, std::string& text);
bool Construct_SrcIndex_Tag(Component& c, std::string_view sapp, std::string_view stbl, std::string& text);

// Pieces of the INFO sections: a table's TFLD and IND elements, and, after
// the tables, the variables and the source side. Both append to `out`.
bool AppendTableDescription(Component& c, std::string_view appl, const MappingObject& table, std::string& out);
bool AppendVariablesAndSourceSide(Component& c, const MappingObject& object, std::string& out);

// The variable declarations inside the INFO section; `tableCodes` lists the
// tables whose row size the 2 GB check names.
bool Construct_Variable_Tag(Component& c, const MappingObject& object, std::string& text,
                            std::string_view tableCodes);

}  // namespace tqlm
