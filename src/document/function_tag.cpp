// The FUNCTION element: the mapping object's own functions, and in the
// legacy class the library functions its variables included.

#include "document/function_tag.h"

#include "core/error_trap.h"
#include "platform/text.h"
#include "rules/keywords.h"
#include "rules/select_translation.h"
#include "rules/xml_escape.h"
#include "split/split_ranges.h"

namespace tqlm {

Statement FunctionsStatement(const Component& c, const MappingObject& o) {
  return Statement::OwnText(c.traits.functionSelect) + o.KeyConditions();
}

std::vector<Statement> FunctionStatements(const Component& c, const MappingObject& o) {
  return {FunctionsStatement(c, o)};
}

namespace {

constexpr TrapStyle kLegacyFunctionTrap{"\t\tERROR in Construct_Function_Tag :- ", " - ", "\r\n", LogCall::Write, true};

std::string Element(const std::string& functions) { return "<FUNCTION>\r\n" + functions + "\r\n</FUNCTION>\r\n"; }

// Generator: the first row's functions with their keywords rewritten.
bool GeneratorFunctionTag(Component& c, const DocumentState& d, const MappingObject& o, std::string& text) {
  return Trapped(c, kGeneratorTrap, [&] {
    Recordset rs = c.Query(FunctionsStatement(c, o));
    if (!rs.HasRow() || rs.Field("func").AsText().empty()) return true;
    std::string functions;
    if (!Replace_Empty_Default_Target(c, d.declarations, o.sapp, o.tapp, rs.Field("func").AsText(), functions))
      return false;
    text = Element(EscapeAmpLtGt(functions));
    return true;
  });
}

// Legacy: every row's functions after the included ones, rewritten and
// translated, with the range procedures when splitting. The document's
// functions string keeps the final text.
bool LegacyFunctionTag(Component& c, DocumentState& d, const MappingObject& o, std::string& text) {
  return Trapped(c, kLegacyFunctionTrap, [&] {
    std::string& functions = d.includeText;
    for (Recordset rs = c.Query(FunctionsStatement(c, o)); !rs.Eof(); rs.MoveNext()) {
      const Value& func = rs.Field("func");
      if (!func.IsNull() && !func.AsText().empty()) functions += "\r\n" + func.AsText();
    }
    const bool split = IsTrue(c.settings.splitVorps);
    std::string body;
    if (!functions.empty()) {
      std::string rewritten;
      if (!Replace_Empty_Default_Target(c, d.declarations, o.sapp, o.tapp, functions, rewritten))
        Raise(125, "", c.run.errorDescription);
      std::string translated;
      const bool ok = Translate_Rule(c, d.declarations, rewritten, o.stbl, o.sapp, translated);
      if (split) translated += "\r\n" + GetFromToRange();
      if (!ok) Raise(125, "", c.run.errorDescription);
      body = Escape_XML_Text(c, translated);
    } else if (split) {
      body = Escape_XML_Text(c, GetFromToRange());
    }
    if (!body.empty()) text = Element(body);
    functions = body;
    return true;
  });
}

}  // namespace

bool Construct_Function_Tag(Component& c, DocumentState& d, const MappingObject& o, std::string& text) {
  return c.traits.kind == ClassKind::Legacy ? LegacyFunctionTag(c, d, o, text) : GeneratorFunctionTag(c, d, o, text);
}

}  // namespace tqlm
