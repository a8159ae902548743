// The dump sections: one DUMP element per dump number of the target table's
// field rules, with an element for every field of the table in each dump.

#include "document/dump_tag.h"

#include <algorithm>
#include <vector>

#include "core/error_trap.h"
#include "platform/text.h"
#include "rules/field_rules.h"
#include "rules/keywords.h"
#include "rules/select_translation.h"
#include "rules/xml_escape.h"

namespace tqlm {

Statement RulesStatement(const MappingObject& o) {
  return " select qxmap140.fdnm, qxmap140.mrul, qxmap140.type, qxmap140.dnum  from qxmap140 WHERE  qxmap140.mprf = " +
         NumberValue(o.mprf) + " AND  qxmap140.vers = " + TextValue(o.vers) + " AND  qxmap140.rele = " +
         TextValue(o.rele) + " AND  qxmap140.cust = " + TextValue(o.cust) + " AND  qxmap140.tcpac = " +
         TextValue(o.tcpac) + " AND  qxmap140.tcmod = " + TextValue(o.tcmod) + " AND  qxmap140.tflno = " +
         TextValue(o.tflno) + " order by dnum ";
}

std::vector<Statement> DumpStatements(const Component&, const MappingObject& o) { return {RulesStatement(o)}; }

namespace {

// The generator's dump trap logs a line of its own shape and leaves
// ErrorDescription alone.
constexpr TrapStyle kGeneratorDumpTrap{"\t\tERROR:-", " - ", "\r\n", LogCall::WriteLine, false};
constexpr TrapStyle kLegacyDumpTrap{"\t\tERROR in Construct_Dump_Tag :-", " - ", "\r\n", LogCall::Write, true};

// Generator: an expression loses its line breaks, a variable rule has its
// keywords rewritten. False when a rewriting failed (it logged).
bool GeneratorRule(Component& c, std::string_view declarations, const MappingObject& o, CDumpInfo& rule) {
  if (rule.IntFieldType == 0) {
    // Removing CR LF, then LF, then CR leaves no line-break character at all.
    std::string& text = rule.StrMapRule;
    text.erase(std::remove_if(text.begin(), text.end(), [](char ch) { return ch == '\r' || ch == '\n'; }), text.end());
  } else if (rule.IntFieldType == 1) {
    std::string rewritten;
    if (!Replace_Empty_Default_Target(c, declarations, o.sapp, o.tapp, rule.StrMapRule, rewritten)) return false;
    rule.StrMapRule = rewritten;
  }
  return true;
}

// Legacy: keywords rewritten (a variable rule's all of them, others' the
// target keyword), translated for the script engine, escaped; a rule that
// calls get_code is a variable rule.
void LegacyRule(Component& c, std::string_view declarations, const MappingObject& o, CDumpInfo& rule) {
  auto failed = [&] { Raise(126, " XML Generation ", "Error in the rules :" + rule.StrMapRule); };
  std::string rewritten;
  const bool ok = rule.IntFieldType == 1
                      ? Replace_Empty_Default_Target(c, declarations, o.sapp, o.tapp, rule.StrMapRule, rewritten)
                      : Replace_Target(c, o.tapp, rule.StrMapRule, rewritten);
  if (!ok) failed();
  std::string translated;
  if (!Translate_Rule(c, declarations, rewritten, o.stbl, o.sapp, translated)) failed();
  if (InStr(LCase(translated), "get_code") > 0) rule.IntFieldType = 1;
  rule.StrMapRule = Trim(Escape_XML_Text(c, translated));
}

struct DumpRules {
  Dictionary<CDumpInfo> byKey;  // dump number & table & field
  std::vector<VbInteger> numbers;  // in the order met
};

std::string RuleKey(VbInteger dump, const std::string& table, const std::string& field) {
  return CStr(static_cast<long long>(dump)) + table + field;
}

// Reads and rewrites the rules; False when a rewriting failed (it logged).
bool ReadRules(Component& c, std::string_view declarations, const MappingObject& o, DumpRules& out) {
  const std::string table = o.TableCode();
  Recordset rs = c.Query(RulesStatement(o));
  if (!rs.HasRow())
    Raise(522, "XMLGeneration:Construct_Dump_tag", "Field level Mappings are not maintained for the table:" + table);
  for (; !rs.Eof(); rs.MoveNext()) {
    CDumpInfo rule;
    rule.IntDumpNo = CInt(rs.Field("dnum").AsNumber());
    rule.IntFieldType = CInt(rs.Field("type").AsNumber());
    rule.StrFieldName = rs.Field("fdnm").AsText();
    rule.StrTargetTableName = table;
    rule.StrMapRule = rs.Field("mrul").AsText();
    if (c.traits.kind == ClassKind::Legacy)
      LegacyRule(c, declarations, o, rule);
    else if (!GeneratorRule(c, declarations, o, rule))
      return false;
    const VbInteger dump = rule.IntDumpNo;
    std::string key = RuleKey(dump, table, rule.StrFieldName);
    out.byKey.Add(std::move(key), std::move(rule));
    if (out.numbers.empty() || out.numbers.back() != dump) out.numbers.push_back(dump);
  }
  return true;
}

// The source domains the generator's rules look up, in the order the dumps
// meet them.
std::vector<Statement> SourceDomainsAhead(const Dictionary<CFieldInfo>& fields, const MappingObject& o,
                                          const DumpRules& rules) {
  std::vector<Statement> ahead;
  for (VbInteger dump : rules.numbers) {
    for (const auto& [key, field] : fields) {
      const CDumpInfo* rule = rules.byKey.Find(RuleKey(dump, field.StrTableName, field.StrFieldName));
      if (rule == nullptr) continue;
      if (Statement lookup = GeneratorSourceDomainStatement(o, field, *rule); !lookup.Empty())
        ahead.push_back(std::move(lookup));
    }
  }
  return ahead;
}

}  // namespace

bool Construct_Dump_Tag(Component& c, const DocumentState& d, const MappingObject& o, bool /*mscript: not read*/,
                        std::string& text) {
  const bool legacy = c.traits.kind == ClassKind::Legacy;
  return Trapped(c, legacy ? kLegacyDumpTrap : kGeneratorDumpTrap, [&] {
    DumpRules rules;
    if (!ReadRules(c, d.declarations, o, rules)) return false;
    if (!legacy && c.ReadsAhead()) c.Prefetch(SourceDomainsAhead(d.fields, o, rules));
    const std::string table = o.TableCode();
    for (VbInteger dump : rules.numbers) {
      text += "<DUMP-" + CStr(static_cast<long long>(dump)) + " TARGET=\"" + table + "\">\r\n";
      for (const auto& [key, field] : d.fields) {
        const std::string name = FieldElementName(field.StrFieldName);
        if (const CDumpInfo* rule = rules.byKey.Find(RuleKey(dump, field.StrTableName, field.StrFieldName)))
          text += legacy ? LegacyMappedElement(o, field, *rule, name)
                         : GeneratorMappedElement(c, d.declarations, o, field, *rule, name);
        else if (LCase(field.StrTableName) == LCase(table))
          text += legacy ? LegacyUnmappedElement(field, name) : GeneratorUnmappedElement(field, name);
      }
      text += "</DUMP-" + CStr(static_cast<long long>(dump)) + ">\r\n";
    }
    return true;
  });
}

}  // namespace tqlm
