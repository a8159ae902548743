// The INFO section of a mapping-object document: the target table's fields
// and indexes, the variables and (generator) the source side.

#include "document/sections.h"
#include "document/table_description.h"
#include "interface/error_trap.h"

namespace tqlm {

bool Construct_Info_Tag(Component& c, const MappingObject& o, std::string& text) {
  return Trapped(c, c.IsGenerator() ? kGeneratorTrap : kLegacyTrap, [&] {
    const std::string element = o.ElementName();
    std::string out = " <INFO>\r\n <" + element + ">\r\n";
    std::string fragment;
    if (!Construct_Field_Tags(c, o.tapp, o.tcpac, o.tcmod, o.tflno, fragment)) return false;
    out += fragment;
    fragment.clear();
    if (!Construct_Index_Tags(c, o.tapp, o.tcpac, o.tcmod, o.tflno, fragment)) return false;
    out += fragment;
    // The legacy class writes no line break after the table's closing tag.
    out += " </" + element + (c.IsGenerator() ? ">\r\n" : ">");
    fragment.clear();
    if (!Construct_Variable_Tag(c, o, fragment, o.CoveredTables())) return false;
    out += fragment;
    if (c.IsGenerator()) {
      fragment.clear();
      if (!Construct_SrcField_Tag(c, o.sapp, o.stbl, fragment)) return false;
      out += fragment;
      fragment.clear();
      if (!Construct_SrcIndex_Tag(c, o.sapp, o.stbl, fragment)) return false;
      out += fragment;
      out += "<SOURCETABLES>" + o.stbl + "</SOURCETABLES>";
    }
    // (The legacy class describes its source files here; that writer is not
    // built yet.)
    out += " </INFO>\r\n";
    text = out;
    return true;
  });
}

}  // namespace tqlm
