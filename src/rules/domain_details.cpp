#include "interface/error_trap.h"
#include "platform/text.h"
#include "rules/format_string.h"

namespace tqlm {

bool Get_Domain_Details(Component& c, std::string_view fieldReference, std::string_view appl, SourceDomain& out) {
  return Trapped(c, kGeneratorTrap, [&] {
    std::string reference = Trim(fieldReference);
    for (std::string_view unwanted : {"\r\n", "\r", "\n", "\t"}) reference = Replace(reference, unwanted, "");
    out.caseCode.clear();
    out.alignment.clear();
    const std::string application(appl);
    Recordset rs = c.repository.Open(
        " select type,conv,adju,leng from qxddi220   where  appl = '" + application +
        "'  and cpac + cdom = (select cdom from qxddi150 where  appl = '" + application +
        "' and cpac+ cmod + flno + '.' + fdnm = '" + reference + "')");
    if (rs.HasRow()) {
      out.caseCode = UCase(rs.Field("conv").AsText());
      out.alignment = UCase(rs.Field("adju").AsText());
      out.length = CInt(rs.Field("leng").AsNumber());
      out.type = UCase(rs.Field("type").AsText());
    }
    return true;
  });
}

}  // namespace tqlm
