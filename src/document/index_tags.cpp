// The target table's indexes: the IND element.

#include "document/table_description.h"
#include "interface/error_trap.h"
#include "platform/text.h"

namespace tqlm {

namespace {
// Index part field names stand at positions 7 to 30 of a qxddi200 row.
constexpr long kFirstIndexPart = 7;
constexpr long kLastIndexPart = 30;
}  // namespace

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
  return Trapped(c, c.IsGenerator() ? kGeneratorTrap : kLegacyTrap, [&] {
    Recordset rs = c.repository.Open(" select * from  qxddi200 where appl = '" + std::string(appl) +
                                     "' AND cpac = '" + std::string(tcpac) + "' AND cmod = '" + std::string(tcmod) +
                                     "' AND flno = '" + std::string(tflno) + "'");
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
