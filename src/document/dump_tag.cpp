// The dump sections: one DUMP element per dump number of the target table's
// field rules, with an element for every field of the table in each dump.

#include <vector>

#include "document/dump_tag.h"
#include "core/error_trap.h"
#include "platform/text.h"
#include "rules/field_rules.h"
#include "rules/keywords.h"

namespace tqlm {

namespace {

// The generator's dump trap logs a line of its own shape and leaves
// ErrorDescription alone.
constexpr TrapStyle kGeneratorDumpTrap{"\t\tERROR:-", " - ", "\r\n", LogCall::WriteLine, false};

struct DumpRules {
  Dictionary<CDumpInfo> byKey;  // dump number & table & field
  std::vector<VbInteger> numbers;  // in the order met
};

std::string RuleKey(VbInteger dump, const std::string& table, const std::string& field) {
  return CStr(static_cast<long long>(dump)) + table + field;
}

// Reads and rewrites the rules; False when a rewriting failed (it logged).
bool ReadRules(Component& c, const MappingObject& o, DumpRules& out) {
  const std::string table = o.TableCode();
  Recordset rs = c.Query(
      " select qxmap140.fdnm, qxmap140.mrul, qxmap140.type, qxmap140.dnum  from qxmap140 WHERE  qxmap140.mprf = " +
      CStr(static_cast<long long>(o.mprf)) + " AND  qxmap140.vers = '" + o.vers + "' AND  qxmap140.rele = '" +
      o.rele + "' AND  qxmap140.cust = '" + o.cust + "' AND  qxmap140.tcpac = '" + o.tcpac +
      "' AND  qxmap140.tcmod = '" + o.tcmod + "' AND  qxmap140.tflno = '" + o.tflno + "' order by dnum ");
  if (!rs.HasRow())
    Raise(522, "XMLGeneration:Construct_Dump_tag", "Field level Mappings are not maintained for the table:" + table);
  for (; !rs.Eof(); rs.MoveNext()) {
    CDumpInfo rule;
    rule.IntDumpNo = CInt(rs.Field("dnum").AsNumber());
    rule.IntFieldType = CInt(rs.Field("type").AsNumber());
    rule.StrFieldName = rs.Field("fdnm").AsText();
    rule.StrTargetTableName = table;
    rule.StrMapRule = rs.Field("mrul").AsText();
    if (rule.IntFieldType == 0) {
      rule.StrMapRule = Replace(Replace(Replace(rule.StrMapRule, "\r\n", ""), "\n", ""), "\r", "");
    } else if (rule.IntFieldType == 1) {
      std::string rewritten;
      if (!Replace_Empty_Default_Target(c, o.sapp, o.tapp, rule.StrMapRule, rewritten)) return false;
      rule.StrMapRule = rewritten;
    }
    const VbInteger dump = rule.IntDumpNo;
    std::string key = RuleKey(dump, table, rule.StrFieldName);
    out.byKey.Add(std::move(key), std::move(rule));
    if (out.numbers.empty() || out.numbers.back() != dump) out.numbers.push_back(dump);
  }
  return true;
}

}  // namespace

bool Construct_Dump_Tag(Component& c, const MappingObject& o, bool /*mscript: not read*/, std::string& text) {
  return Trapped(c, kGeneratorDumpTrap, [&] {
    DumpRules rules;
    if (!ReadRules(c, o, rules)) return false;
    const std::string table = o.TableCode();
    for (VbInteger dump : rules.numbers) {
      text += "<DUMP-" + CStr(static_cast<long long>(dump)) + " TARGET=\"" + table + "\">\r\n";
      for (const auto& [key, field] : c.document.fields) {
        const std::string name = FieldElementName(field.StrFieldName);
        if (const CDumpInfo* rule = rules.byKey.Find(RuleKey(dump, field.StrTableName, field.StrFieldName)))
          text += GeneratorMappedElement(c, o, field, *rule, name);
        else if (LCase(field.StrTableName) == LCase(table))
          text += GeneratorUnmappedElement(field, name);
      }
      text += "</DUMP-" + CStr(static_cast<long long>(dump)) + ">\r\n";
    }
    return true;
  });
}

}  // namespace tqlm
