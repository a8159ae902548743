#include "dictionary/domains.h"

#include <string>

#include "core/error_trap.h"
#include "platform/text.h"

namespace tqlm {

bool Construct_Domain_Tag(Component& c, std::string_view appl, std::string_view domain, DomainDescription& out) {
  return Trapped(c, c.traits.standardTrap, [&] {
    Recordset rs = c.Lookup(" select type , leng , diga , adju , conv , digb from qxddi220 where appl = " +
                            TextValue(appl) + " AND cpac+cdom = " + TextValue(domain));
    if (!rs.HasRow())
      Raise(114, "XML Generation",
            " No Domain information for the domain " + std::string(domain) + " in the Application " +
                std::string(appl));
    // The digits before the point are always trimmed; the other values but
    // the type where the class says so.
    auto value = [&](long column, bool trim) {
      std::string v = rs.Field(column).AsText();
      return trim ? Trim(v) : v;
    };
    const bool trim = c.traits.trimsDomainValues;
    out.type = UCase(value(0, false));
    out.length = value(1, trim);
    out.digitsAfter = value(2, trim);
    out.alignment = value(3, trim);
    out.caseCode = value(4, trim);
    out.digitsBefore = value(5, true);
    return true;
  });
}

Statement SourceDomainStatement(std::string_view fieldReference, std::string_view appl) {
  std::string reference = Trim(fieldReference);
  // Line breaks and tabs go, in place.
  std::erase_if(reference, [](char ch) { return ch == '\r' || ch == '\n' || ch == '\t'; });
  // The subquery's domain is compared with the indexed concatenation as
  // plain text.
  return " select type,conv,adju,leng from qxddi220   where  appl = " + TextValue(appl) +
         "  and cpac + cdom = (select cdom from qxddi150 where  appl = " + TextValue(appl) +
         " and cpac+ cmod + flno + '.' + fdnm = " + TextValue(reference) + ")" + kPlainText;
}

bool Get_Domain_Details(Component& c, std::string_view fieldReference, std::string_view appl, SourceDomain& out) {
  return Trapped(c, kGeneratorTrap, [&] {
    const Statement statement = SourceDomainStatement(fieldReference, appl);
    out.caseCode.clear();
    out.alignment.clear();
    Recordset rs = c.Lookup(statement);
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
