// The variable declarations of a mapping object: include lines go to the
// INCLUDE element, declarations to VAR and to the document's declarations
// text that the keyword rewriting reads.

#include "document/variable_tag.h"

#include "core/error_trap.h"
#include "dictionary/row_size.h"
#include "platform/text.h"
#include "rules/function_library.h"
#include "rules/select_translation.h"
#include "rules/xml_escape.h"

namespace tqlm {

Statement VariablesStatement(const MappingObject& o) {
  return " select vari from qxmap120 where mprf  = " + NumberValue(o.mprf) + " AND vers = " + TextValue(o.vers) +
         " AND rele = " + TextValue(o.rele) + " AND cust = " + TextValue(o.cust) + " AND tcpac = " +
         TextValue(o.tcpac) + " AND tcmod = " + TextValue(o.tcmod) + " AND tflno = " + TextValue(o.tflno);
}

namespace {

std::string ReadVariables(Component& c, const MappingObject& o) {
  Recordset rs = c.Query(VariablesStatement(o));
  return rs.HasRow() ? rs.Field("vari").AsText() : std::string();
}

// "~^~" stands for a line break and "~|~" for a tab in stored variable texts.
std::string ExpandMarkers(const std::string& text) { return Replace(Replace(text, "~^~", "\r\n"), "~|~", "\t"); }

// Generator: include lines go to INCLUDE, declarations to VAR unchanged, and
// with the 2 GB check the row-size lines of every table follow the includes.
bool GeneratorVariableTag(Component& c, DocumentState& d, const MappingObject& o, std::string& text,
                          std::string_view tableCodes) {
  return Trapped(c, kGeneratorTrap, [&] {
    const std::string variables = ExpandMarkers(ReadVariables(c, o) + "\r\n" + d.splitDeclarations);
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
    d.declarations = declarations;
    text = "<INCLUDE>" + include + "</INCLUDE> <VAR>" + declarations + "</VAR>";
    return true;
  });
}

// Legacy: include lines pull library functions into the include text (and
// may add source tables), the declarations are translated for the script
// engine. The lower-cased declarations are what the rule translation asks
// about names.
bool LegacyVariableTag(Component& c, DocumentState& d, MappingObject& o, std::string& text) {
  return Trapped(c, kLegacyTrap, [&] {
    std::string variables = ReadVariables(c, o);
    if (!Trim(variables).empty()) Process_Includes(c, variables, d.includeText, o.stbl);
    const std::string include = "<INCLUDE>" + Escape_XML_Text(c, d.includeText) + "</INCLUDE>";
    const std::string declarations = Replace(Replace(LCase(variables), "dim", " "), "\r\n", " ");
    d.declarations = declarations;
    if (Trim(declarations).empty()) {
      variables.clear();
    } else {
      std::string translated;
      if (!Translate_Rule(c, d.declarations, variables, o.stbl, o.sapp, translated)) return false;
      variables = Escape_XML_Text(c, translated);
    }
    text = include + "<VAR>" + variables + " </VAR>";
    return true;
  });
}

}  // namespace

bool Construct_Variable_Tag(Component& c, DocumentState& d, MappingObject& o, std::string& text,
                            std::string_view tableCodes) {
  return c.traits.kind == ClassKind::Legacy ? LegacyVariableTag(c, d, o, text)
                                            : GeneratorVariableTag(c, d, o, text, tableCodes);
}

}  // namespace tqlm
