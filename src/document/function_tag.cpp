// The FUNCTION element: the mapping object's own functions.

#include "document/function_tag.h"
#include "rules/xml_escape.h"
#include "core/error_trap.h"
#include "platform/text.h"
#include "rules/keywords.h"

namespace tqlm {

bool Construct_Function_Tag(Component& c, const MappingObject& o, std::string& text) {
  return Trapped(c, kGeneratorTrap, [&] {
    Recordset rs = c.Query(" select func from qxmap160  where mprf = " + CStr(static_cast<long long>(o.mprf)) +
                                     " AND vers = '" + o.vers + "' AND rele = '" + o.rele + "' AND cust = '" + o.cust +
                                     "' AND tcpac = '" + o.tcpac + "' AND tcmod = '" + o.tcmod + "' AND tflno = '" +
                                     o.tflno + "'");
    // Only the first row counts.
    if (!rs.HasRow() || rs.Field("func").AsText().empty()) return true;
    std::string functions;
    if (!Replace_Empty_Default_Target(c, o.sapp, o.tapp, rs.Field("func").AsText(), functions)) return false;
    text = "<FUNCTION>\r\n" + EscapeAmpLtGt(functions) + "\r\n</FUNCTION>\r\n";
    return true;
  });
}

}  // namespace tqlm
