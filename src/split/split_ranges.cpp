#include "split/split_ranges.h"

#include <vector>

#include "platform/text.h"

namespace tqlm {

namespace {

constexpr std::string_view kValue = "qxgct872.vals(1,var.qxgct872.cnt)";

// 'f1','f2' for an SQL in-list.
std::string QuotedFields(const std::vector<std::string>& fields) {
  std::vector<std::string> quoted;
  for (const std::string& f : fields) quoted.push_back("'" + Trim(f) + "'");
  return Join(quoted, ",");
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

  Recordset domains = c.Query("select fdnm,cdom from qxddi150 where cpac+cmod+flno='" + src +
                                        "' and fdnm in (" + QuotedFields(fields) + ") and appl='" + appl + "'");
  if (!domains.HasRow()) return range;
  std::string fromCases, toCases;
  for (; !domains.Eof(); domains.MoveNext()) {
    const std::string field = domains.Field("fdnm").AsText();
    const std::string domain = domains.Field("cdom").AsText();
    range.declarations += "\r\n\textern domain " + domain + " from." + src + "." + field +
                          "\r\n\textern domain " + domain + " to." + src + "." + field;
    Recordset typeRow = c.Query("select type from qxddi220 where appl='" + appl + "' and cpac+cdom='" +
                                          domain + "'");
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
