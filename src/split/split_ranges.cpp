#include "split/split_ranges.h"

#include <vector>

#include "platform/text.h"

namespace tqlm {

namespace {

constexpr std::string_view kValue = "qxgct872.vals(1,var.qxgct872.cnt)";

// 'f1','f2' for an SQL in-list.
// The fields, trimmed, as the items of an in-list.
Statement FieldValues(const std::vector<std::string>& fields) {
  std::vector<std::string> trimmed;
  trimmed.reserve(fields.size());
  for (const std::string& f : fields) trimmed.push_back(Trim(f));
  return TextValues(trimmed);
}

std::string Tuple(std::string_view side, const std::string& src, const std::vector<std::string>& fields) {
  std::string tuple = "{";
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) tuple += " , ";
    tuple += std::string(side) + src + "." + fields[i];
  }
  return tuple + "}";
}

std::string Condition(const std::string& src, const std::vector<std::string>& fields, std::string_view storedList) {
  if (fields.size() == 1) {
    const std::string& f = fields[0];
    return "(" + src + "." + f + " > :from." + src + "." + f + " and " + src + "." + f + " <= :to." + src + "." + f +
           ")";
  }
  const std::string from = Tuple(":from.", src, fields);
  const std::string to = Tuple(":to.", src, fields);
  const std::string list(storedList);
  // An index reference names the whole key as src._INDEXn.
  if (InStr(list, "INDEX", Compare::Text) > 0)
    return "(" + src + "._" + list + " > " + from + "\r\n and  " + src + "._" + list + " <= " + to + ")";
  return "(" + src + "." + list + " > " + from + "\r\n and " + src + "." + list + " <= " + to + ")";
}

std::string Conversion(const std::string& type) {
  if (type == "S" || type == "M") return " = " + std::string(kValue);
  if (type == "D" || type == "F") return " = val(" + std::string(kValue) + ")";
  if (type == "E") return " = ltoe(lval(" + std::string(kValue) + "))";
  return " = lval(" + std::string(kValue) + ")";
}

std::string Case(std::string_view side, const std::string& src, const std::string& field, const std::string& type) {
  return "\r\n\t\t\tcase \"" + field + "\":" + "\r\n\t\t\t\t" + std::string(side) + src + "." + field + Conversion(type) +
         "\r\n\t\t\t\tbreak";
}

// A block assigning the range values of one process instance's row.
std::string Block(const std::string& target, const std::string& src, std::string_view instance,
                  const std::string& cases) {
  return "\r\nselect qxgct872.*\r\nfrom qxgct872\r\nwhere qxgct872.trtb=\"" + target + "\" and qxgct872.srtb=\"" +
         src + "\" and qxgct872.insn=" + std::string(instance) +
         "\r\nselectdo\r\n\tfor var.qxgct872.cnt=1 to 24\r\n\t\ton case strip$(qxgct872.flds(1,var.qxgct872.cnt))" +
         cases + "\r\n\t\tendcase\r\n\tendfor\r\nendselect";
}

}  // namespace

SplitRange GeneratorSplitRange(Component& c, std::string_view sourceApplication, std::string_view targetTable,
                               std::string_view sourceTable, std::string_view fieldList, std::string_view storedList) {
  const std::string src(sourceTable), target(targetTable), appl(sourceApplication);
  const std::vector<std::string> fields = Split(fieldList, ",");
  SplitRange range;
  range.condition = Condition(src, fields, storedList);

  Recordset domains = c.Query("select fdnm,cdom from qxddi150 where cpac+cmod+flno=" + TextValue(src) +
                              " and fdnm in (" + FieldValues(fields) + ") and appl=" + TextValue(appl));
  if (!domains.HasRow()) return range;
  std::string fromCases, toCases;
  for (; !domains.Eof(); domains.MoveNext()) {
    const std::string field = domains.Field("fdnm").AsText();
    const std::string domain = domains.Field("cdom").AsText();
    range.declarations += "\r\n\textern domain " + domain + " from." + src + "." + field +
                          "\r\n\textern domain " + domain + " to." + src + "." + field;
    Recordset typeRow =
        c.Lookup("select type from qxddi220 where appl=" + TextValue(appl) + " and cpac+cdom=" + TextValue(domain));
    const std::string type = typeRow.HasRow() ? typeRow.Field("type").AsText() : std::string();
    fromCases += Case("from.", src, field, type);
    toCases += Case("to.", src, field, type);
  }
  // Lower bounds from the current process instance's row, upper bounds from
  // the next one's.
  range.prefix = Block(target, src, ":var.lng.vrpn", fromCases) + "\r\nvar.to.lng.vrpn = var.lng.vrpn + 1\r\n" +
                 Block(target, src, ":var.to.lng.vrpn", toCases);
  return range;
}

namespace {

// varstr for the file's string and date fields, varint for the others.
std::string VariableKind(Component& c, const std::string& src, const std::string& field, const std::string& appl) {
  Recordset rs = c.Query("select * from qxlgy150 where flno=" + TextValue(src) + " and flna =" + TextValue(field) +
                         " and appl=" + TextValue(appl) + " and dtyp in ('M','S','T')");
  return rs.HasRow() ? "varstr" : "varint";
}

std::string LegacyCondition(Component& c, const std::string& src, const std::vector<std::string>& fields,
                            const std::string& appl) {
  std::vector<std::string> from, to;  // the range variables of each field
  for (const std::string& field : fields) {
    const std::string kind = VariableKind(c, src, field, appl);
    from.push_back(kind + "_from_" + src + "_" + field);
    to.push_back(kind + "_to_" + src + "_" + field);
  }
  const std::string f0 = src + "." + fields[0];
  if (fields.size() == 1) return "((" + f0 + " > " + from[0] + ") and \r\n(" + f0 + " <= " + to[0] + "))";
  std::string equalFrom = f0 + " = " + from[0];
  std::string equalTo = f0 + " = " + to[0];
  std::string lower = "(" + f0 + " > " + from[0] + ")";
  std::string upper = "(" + f0 + " < " + to[0] + ")";
  for (std::size_t i = 1; i < fields.size(); ++i) {
    const std::string f = src + "." + fields[i];
    lower += "\r\n\t or (" + equalFrom + " and " + f + " > " + from[i] + ")\r\n";
    upper += "\r\n\t or (" + equalTo + " and " + f + " < " + to[i] + ")\r\n";
    equalFrom += "\r\n\t and " + f + " = " + from[i];
    equalTo += "\r\n\t and " + f + " = " + to[i];
  }
  upper += "\r\n\t or (" + equalTo + ")";
  return "((" + lower + ") \r\n\t and (" + upper + "))";
}

// One assignment from the range's array by the field's data type.
std::string Assignment(std::string_view side, const std::string& src, const std::string& field,
                       const std::string& type, long index) {
  const std::string element = "arrfld(" + CStr(static_cast<long long>(index)) + ")";
  std::string kind = "varint_", value = "clng(" + element + ")";
  if (type == "S" || type == "M") {
    kind = "varstr_";
    value = element;
  } else if (type == "T") {
    kind = "varstr_";
    value = "cdate(" + element + ")";
  } else if (type == "D" || type == "F" || type == "I" || type == "L") {
    value = element;
  }
  return "\r\n\t" + kind + std::string(side) + "_" + src + "_" + field + " = " + value;
}

}  // namespace

SplitRange LegacySplitRange(Component& c, std::string_view sourceApplication, std::string_view sourceTable,
                            std::string_view fieldList) {
  const std::string src(sourceTable), appl(sourceApplication);
  const std::vector<std::string> fields = Split(fieldList, ",");
  SplitRange range;
  range.condition = LegacyCondition(c, src, fields, appl);
  // The array's values come in the row order of the file's fields.
  Recordset rs = c.Query("select * from qxlgy150 where flno=" + TextValue(src) + " and flna in (" +
                         FieldValues(fields) + ") and appl=" + TextValue(appl));
  if (!rs.HasRow()) return range;
  std::string fromAssign, toAssign;
  for (long i = 0; !rs.Eof(); rs.MoveNext(), ++i) {
    const std::string field = rs.Field("flna").AsText();
    const std::string type = rs.Field("dtyp").AsText();
    fromAssign += Assignment("from", src, field, type, i);
    toAssign += Assignment("to", src, field, type, i);
  }
  range.prefix = "GetFromToRange \"" + src + "\", FromRng, ToRng\r\nIf FromRng <> \"\" then \r\n\tarrfld = "
                 "split(FromRng,\",\")\r\n" + fromAssign + "\r\nElse \r\n\t RaiseError \"From Range Not found for table " +
                 src + "\"\r\n\tcall HandleErrors\r\n\tExit Sub\r\nEnd if\r\nIf ToRng <> \"\" then \r\narrfld = "
                 "split(ToRng,\",\")\r\n" + toAssign + "\r\nElse \r\n\t RaiseError \"To Range Not found for table " +
                 src + "\"\r\n\tCall HandleErrors \r\n\tExit Sub\r\nEnd if";
  return range;
}

std::string GetFromToRange() {
  return "\r\nsub GetFromToRange(StrSrcTable,StrFrom,StrTo)"
         "\r\n\tdim strtmp"
         "\r\n\tdim arrFromTo"
         "\r\n\tstrtmp = objsplitdict.item(StrSrcTable)"
         "\r\n\tarrFromTo = split(strtmp,\"|\")"
         "\r\n\tif ubound(arrFromTo) > 0 then"
         "\r\n\t\tstrFrom = arrFromTo(0)"
         "\r\n\t\tStrTo = arrFromTo(1)"
         "\r\n\tElse "
         "\r\n\t\tstrFrom =\"\""
         "\r\n\t\tStrTo = \"\""
         "\r\n\tend if"
         "\r\nend sub"
         "\r\nsub RaiseError(strmsg)"
         "\r\n\tErr.raise 999,,strmsg"
         "\r\nend sub";
}

}  // namespace tqlm
