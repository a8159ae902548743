#include "sidefiles/connection_string.h"

#include "rules/xml_escape.h"

namespace tqlm {

std::string GetConnStr(Component& c, std::string_view appl, std::string_view table) {
  Recordset rs = c.Query("select * from qxlgy140 where appl=" + TextValue(appl) + " and flno=" + TextValue(table));
  if (!rs.HasRow()) return {};
  return "<constr> <dsn> " + Escape_XML_Text(c, rs.Field("sour").AsText()) + "</dsn> <logn>" +
         rs.Field("logn").AsText() + "</logn> <pswd>" + rs.Field("pswd").AsText() + "</pswd></constr>";
}

}  // namespace tqlm
