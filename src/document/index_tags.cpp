// The target table's indexes: the IND element.

#include "document/index_tags.h"

#include "core/error_trap.h"
#include "dictionary/index_parts.h"
#include "dictionary/table_condition.h"
#include "platform/text.h"

namespace tqlm {

Statement IndexesStatement(std::string_view appl, std::string_view tcpac, std::string_view tcmod,
                             std::string_view tflno) {
  return " select * from  qxddi200 where " + TableCondition(appl, tcpac, tcmod, tflno);
}

bool Construct_Index_Tags(Component& c, std::string_view appl, std::string_view tcpac, std::string_view tcmod,
                          std::string_view tflno, std::string& text) {
  return Trapped(c, c.traits.standardTrap, [&] {
    Recordset rs = c.Query(IndexesStatement(appl, tcpac, tcmod, tflno));
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
