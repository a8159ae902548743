// The INFO section of a mapping-object document: the target table's fields
// and indexes, the variables and (generator) the source side.

#include "document/sections.h"
#include "document/table_description.h"
#include "interface/error_trap.h"

namespace tqlm {

namespace {

// Appends the fragment of one writer; False when the writer failed.
template <class Writer>
bool Append(std::string& out, Writer&& write) {
  std::string fragment;
  if (!write(fragment)) return false;
  out += fragment;
  return true;
}

}  // namespace

bool AppendTableDescription(Component& c, std::string_view appl, const MappingObject& table, std::string& out) {
  return Append(out, [&](std::string& f) { return Construct_Field_Tags(c, appl, table.tcpac, table.tcmod, table.tflno, f); }) &&
         Append(out, [&](std::string& f) { return Construct_Index_Tags(c, appl, table.tcpac, table.tcmod, table.tflno, f); });
}

bool AppendVariablesAndSourceSide(Component& c, const MappingObject& o, std::string& out) {
  if (!Append(out, [&](std::string& f) { return Construct_Variable_Tag(c, o, f, o.CoveredTables()); })) return false;
  // (The legacy class describes its source files here instead; that writer
  // is not built yet.)
  if (c.IsLegacy()) return true;
  return Append(out, [&](std::string& f) { return Construct_SrcField_Tag(c, o.sapp, o.stbl, f); }) &&
         Append(out, [&](std::string& f) { return Construct_SrcIndex_Tag(c, o.sapp, o.stbl, f); });
}

bool Construct_Info_Tag(Component& c, const MappingObject& o, std::string& text) {
  return Trapped(c, StandardTrap(c), [&] {
    const std::string element = o.ElementName();
    std::string out = " <INFO>\r\n <" + element + ">\r\n";
    if (!AppendTableDescription(c, o.tapp, o, out)) return false;
    // The legacy class writes no line break after the table's closing tag.
    out += " </" + element + (c.IsGenerator() ? ">\r\n" : ">");
    if (!AppendVariablesAndSourceSide(c, o, out)) return false;
    if (c.IsGenerator()) out += "<SOURCETABLES>" + o.stbl + "</SOURCETABLES>";
    out += " </INFO>\r\n";
    text = out;
    return true;
  });
}

}  // namespace tqlm
