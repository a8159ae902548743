// The target table's indexes: the IND element.

#include "document/table_description.h"
#include "interface/error_trap.h"
#include "platform/text.h"

namespace tqlm {

std::vector<std::string> IndexParts(const Recordset& row) {
  std::vector<std::string> parts;
  const long last = std::min(kLastIndexPart, row.FieldCount() - 1);
  for (long p = kFirstIndexPart; p <= last; ++p) {
    const Value& part = row.Field(p);
    if (part.IsNull() || part.AsText().empty()) break;
    parts.push_back(part.AsText());
  }
  return parts;
}

bool Construct_Index_Tags(Component& c, std::string_view appl, std::string_view tcpac, std::string_view tcmod,
                          std::string_view tflno, std::string& text) {
  return Trapped(c, StandardTrap(c), [&] {
    Recordset rs = c.repository.Open(" select * from  qxddi200 where " + TableCondition(appl, tcpac, tcmod, tflno));
    std::string elements;
    for (; !rs.Eof(); rs.MoveNext()) {
      const std::string n = rs.Field("indn").AsText();
      std::vector<std::string> parts = IndexParts(rs);
      for (std::string& part : parts) part = Trim(part);
      elements += " <IND-" + n + " NUMB = \"" + n + "\" " + " PART = \"" + Join(parts, "|") + "\" DUPL = \"" +
                  rs.Field("dupl").AsText() + "\" ACTI = \"" + rs.Field("acti").AsText() + "\" " + " > " +
                  " </IND-" + n + " > " + "\r\n";
    }
    text = "<IND>" + elements + "</IND>";
    return true;
  });
}

}  // namespace tqlm
