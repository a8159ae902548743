// The INFO section of a mapping-object document: the target table's fields
// and indexes, the variables and the source side.

#include "document/info_tag.h"

#include "core/error_trap.h"
#include "document/field_tags.h"
#include "document/index_tags.h"
#include "document/source_info_tag.h"
#include "document/source_tags.h"
#include "document/variable_tag.h"

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

bool AppendTableDescription(Component& c, DocumentState& d, std::string_view appl, const MappingObject& table,
                            std::string& out) {
  return Append(out, [&](std::string& f) {
           return Construct_Field_Tags(c, d.fields, appl, table.tcpac, table.tcmod, table.tflno, f);
         }) &&
         Append(out, [&](std::string& f) { return Construct_Index_Tags(c, appl, table.tcpac, table.tcmod, table.tflno, f); });
}

bool AppendVariablesAndSourceSide(Component& c, DocumentState& d, MappingObject& o, std::string& out) {
  if (!Append(out, [&](std::string& f) { return Construct_Variable_Tag(c, d, o, f, o.CoveredTables()); })) return false;
  // The generator describes the source tables from the data dictionary, the
  // legacy class its source files and tables.
  if (c.traits.kind == ClassKind::Legacy)
    return Append(out, [&](std::string& f) { return Construct_Source_Info_Tag(c, o.sapp, o.stbl, f); });
  return Append(out, [&](std::string& f) { return Construct_SrcField_Tag(c, o.sapp, o.stbl, f); }) &&
         Append(out, [&](std::string& f) { return Construct_SrcIndex_Tag(c, o.sapp, o.stbl, f); });
}

std::vector<Statement> InfoStatements(const Component& c, const MappingObject& o) {
  std::vector<Statement> ahead;
  // Tables of a legacy target application are described by their layout.
  if (!(c.traits.kind == ClassKind::Legacy && c.run.legacyApplication))
    ahead.push_back(FieldsStatement(c, o.tapp, o.tcpac, o.tcmod, o.tflno));
  ahead.push_back(IndexesStatement(o.tapp, o.tcpac, o.tcmod, o.tflno));
  ahead.push_back(VariablesStatement(o));
  if (c.traits.kind != ClassKind::Legacy) {
    ahead.push_back(SourceFieldsStatement(o.sapp, o.stbl));
    ahead.push_back(SourceIndexesStatement(o.sapp, o.stbl));
  }
  return ahead;
}

bool Construct_Info_Tag(Component& c, DocumentState& d, MappingObject& o, std::string& text) {
  return Trapped(c, c.traits.standardTrap, [&] {
    const std::string element = o.ElementName();
    std::string out = " <INFO>\r\n <" + element + ">\r\n";
    if (!AppendTableDescription(c, d, o.tapp, o, out)) return false;
    out += " </" + element + std::string(c.traits.infoTableClose);
    if (!AppendVariablesAndSourceSide(c, d, o, out)) return false;
    if (c.traits.infoListsSourceTables) out += "<SOURCETABLES>" + o.stbl + "</SOURCETABLES>";
    out += " </INFO>\r\n";
    text = out;
    return true;
  });
}

}  // namespace tqlm
