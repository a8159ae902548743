#include "split/split_processing.h"

#include <vector>

#include "dictionary/index_parts.h"
#include "core/error_trap.h"
#include "platform/text.h"
#include "split/split_ranges.h"

namespace tqlm {

namespace {

constexpr TrapStyle kSplitTrap{"\t\tERROR:in AddSplitQueries_to_Precondition  ErrNo.", ":", "",
                               LogCall::WriteLine, true};

// The source table a migrate statement names: its first word.
std::string MigratedTable(const std::string& statement) {
  const std::string text = LTrim(Replace(statement, "\t", ""));
  std::size_t end = text.find_first_of(" \t\r\n");
  return text.substr(0, end == std::string::npos ? text.size() : end);
}

Statement SourceWhere(std::string_view appl, std::string_view sourceTable) {
  return "where appl=" + TextValue(appl) + " and cpac+cmod+flno=" + TextValue(sourceTable);
}

// INDEXn stands for the part fields of index n of the source table.
std::vector<std::string> ExpandIndexes(Component& c, std::string_view appl, std::string_view sourceTable,
                                       const std::vector<std::string>& entries) {
  std::vector<std::string> out;
  for (const std::string& entry : entries) {
    const long at = InStr(entry, "INDEX", Compare::Text);
    if (at == 0) {
      out.push_back(entry);
      continue;
    }
    const long number = CLng(Val(Mid(entry, at + 5)));
    Recordset index = c.Query("select * from qxddi200 " + SourceWhere(appl, sourceTable) + " and indn=" +
                              NumberValue(number));
    if (!index.HasRow()) continue;
    for (long column = kFirstIndexPart; column < index.FieldCount(); ++column) {
      const Value& part = index.Field(column);
      if (part.IsNull()) break;
      if (!Trim(part.AsText()).empty()) out.push_back(part.AsText());
    }
  }
  return out;
}

// A combined field stands for its child fields.
std::vector<std::string> ExpandCombinedFields(Component& c, std::string_view appl, std::string_view sourceTable,
                                              const std::vector<std::string>& entries) {
  std::vector<std::string> out;
  for (const std::string& entry : entries) {
    const Statement where = SourceWhere(appl, sourceTable) + " and fdnm=" + TextValue(entry);
    Recordset comb = c.Query("select comb from qxddi150 " + where);
    if (!comb.HasRow() || comb.Field("comb").AsText() != "Y") {
      out.push_back(entry);
      continue;
    }
    Recordset children = c.Query("select * from qxddi160 " + where + " order by sern");
    for (; !children.Eof(); children.MoveNext()) {
      const Value& child = children.Field("chld");
      if (!child.IsNull() && !Trim(child.AsText()).empty()) out.push_back(child.AsText());
    }
  }
  return out;
}

}  // namespace

std::string get_split_fields(Component& c, std::string_view sourceApplication, std::string_view targetTable,
                             std::string_view sourceTable, std::string& storedList) {
  if (c.traits.kind == ClassKind::Legacy) {
    // The legacy class takes the stored list as it is.
    Recordset rs =
        c.Query("select flst from qxmap300 where ttbl=" + TextValue(targetTable) + " and stbl=" + TextValue(sourceTable));
    storedList = rs.HasRow() ? rs.Field("flst").AsText() : std::string();
    return storedList;
  }
  Recordset rs =
      c.Query("select * from qxmap300 where ttbl=" + TextValue(targetTable) + " and stbl=" + TextValue(sourceTable));
  if (!rs.HasRow()) return {};
  storedList = rs.Field("flst").AsText();
  std::vector<std::string> fields = ExpandIndexes(c, sourceApplication, sourceTable, Split(storedList, ","));
  fields = ExpandCombinedFields(c, sourceApplication, sourceTable, fields);
  return Join(fields, ",");
}

bool AddSplitQueries_to_Precondition(Component& c, DocumentState& document, std::string_view sourceApplication,
                                     std::string_view inString, std::string_view targetTable,
                                     std::string& returnString) {
  returnString.clear();
  const bool generator = c.traits.kind == ClassKind::Generator;
  return Trapped(c, kSplitTrap, [&] {
    if (generator) document.splitDeclarations = "long var.qxgct872.cnt\r\nlong var.to.lng.vrpn";
    std::string result(inString);
    Recordset split = c.Query("select * from qxmap300 where ttbl=" + TextValue(targetTable));
    if (split.HasRow()) {
      const std::vector<std::string> pieces = Split(inString, "migrate", Compare::Text);
      if (pieces.size() > 1) {
        result = pieces[0];
        for (std::size_t i = 1; i < pieces.size(); ++i) {
          const std::string source = MigratedTable(pieces[i]);
          std::string storedList;
          const std::string fields = get_split_fields(c, sourceApplication, targetTable, source, storedList);
          if (Trim(fields).empty())
            Raise(1009, "XML Generation",
                  " Split Information not given for the Target Table " + std::string(targetTable) +
                      " - Source table " + source);
          const SplitRange range =
              generator ? GeneratorSplitRange(c, sourceApplication, targetTable, source, fields, storedList)
                        : LegacySplitRange(c, sourceApplication, source, fields);
          document.splitConditions.Add(UCase(source), range.condition);
          document.splitDeclarations += range.declarations;
          result += "\r\n" + range.prefix + "\r\nmigrate " + pieces[i];
        }
      }
    }
    split.Close();
    if (generator) document.splitDeclarations += "\r\n\ttable tqxgct872";
    returnString = result;
    return true;
  });
}

std::string MergeSplitCondition(const std::string& query, std::string_view condition) {
  const std::string k(condition);
  const long w = InStr(query, " where ", Compare::Text);
  long g = InStr(query, " group ", Compare::Text);
  if (g == 0) g = InStr(query, " having ", Compare::Text);
  if (g == 0) g = InStr(query, " order ", Compare::Text);
  if (w == 0 && g == 0) return query + "\r\nwhere " + k;
  if (w == 0) return Left(query, g - 1) + "\r\nwhere " + k + Mid(query, g);
  if (g > 0) return Left(query, w + 6) + "(" + Mid(query, w + 7, g - w - 7) + ") and " + k + Mid(query, g);
  return Left(query, w + 6) + "(" + Mid(query, w + 7) + ") and " + k;
}

}  // namespace tqlm
