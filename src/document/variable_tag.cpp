// The variable declarations of a mapping object: include lines go to the
// INCLUDE element, declarations to VAR and to the document's declarations
// text that the keyword rewriting reads.

#include "document/variable_tag.h"
#include "rules/xml_escape.h"
#include "core/error_trap.h"
#include "platform/text.h"
#include "dictionary/row_size.h"

namespace tqlm {

namespace {

std::string ReadVariables(Component& c, const MappingObject& o) {
  Recordset rs = c.Query(" select vari from qxmap120 where mprf  = " + CStr(static_cast<long long>(o.mprf)) +
                                   " AND vers = '" + o.vers + "' AND rele = '" + o.rele + "' AND cust = '" + o.cust +
                                   "' AND tcpac = '" + o.tcpac + "' AND tcmod = '" + o.tcmod + "' AND tflno = '" +
                                   o.tflno + "'");
  return rs.HasRow() ? rs.Field("vari").AsText() : std::string();
}

// "~^~" stands for a line break and "~|~" for a tab in stored variable texts.
std::string ExpandMarkers(const std::string& text) { return Replace(Replace(text, "~^~", "\r\n"), "~|~", "\t"); }

}  // namespace

bool Construct_Variable_Tag(Component& c, const MappingObject& o, std::string& text, std::string_view tableCodes) {
  // The legacy variables (include processing and translated declarations)
  // come with the legacy rule translation; until then the element is empty.
  if (c.traits.kind == ClassKind::Legacy) return true;
  return Trapped(c, kGeneratorTrap, [&] {
    const std::string variables = ExpandMarkers(ReadVariables(c, o) + "\r\n" + c.document.splitDeclarations);
    std::string include, declarations;
    for (const std::string& piece : Split(variables, "\n")) {
      if (piece.empty() || piece == "\r") continue;
      if (InStr(piece, "^") > 0 || InStr(piece, "#") > 0) {
        std::string line = EscapeAmpLtGtQuot(piece);
        line = Replace(Replace(line, "\r", ""), "\n", "");
        include += Trim(line) + "\r\n";
      } else {
        declarations += piece + "\r\n";
      }
    }
    if (IsTrue(c.settings.include2GBCheck)) {
      for (const std::string& code : Split(tableCodes, ",")) {
        const VbLong size = RowSizeofTable(c, o.tapp, code);
        include += "\r\n#define " + code + "RowSize " + CStr(static_cast<long long>(size)) + "\r\n\tlong " + code +
                   ".dump.rec" + "\r\n\tlong " + code + "rep.count";
      }
    }
    c.document.declarations = declarations;
    text = "<INCLUDE>" + include + "</INCLUDE> <VAR>" + declarations + "</VAR>";
    return true;
  });
}

}  // namespace tqlm
