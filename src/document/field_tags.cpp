// The target table's fields: the TFLD element with child fields and domains,
// and the field records for the dump writer.

#include "document/table_description.h"
#include "interface/error_trap.h"
#include "platform/text.h"
#include "rules/field_details.h"

namespace tqlm {

namespace {

std::string Quoted(std::string_view value) { return "\"" + std::string(value) + "\""; }

}  // namespace

std::string TableCondition(std::string_view appl, std::string_view cpac, std::string_view cmod, std::string_view flno) {
  return "appl = '" + std::string(appl) + "' AND cpac = '" + std::string(cpac) + "' AND cmod = '" +
         std::string(cmod) + "' AND flno = '" + std::string(flno) + "'";
}

bool Construct_Field_Tags(Component& c, std::string_view appl, std::string_view tcpac, std::string_view tcmod,
                          std::string_view tflno, std::string& text) {
  return Trapped(c, StandardTrap(c), [&] {
    // The two classes name the last two columns in opposite order.
    const char* columns = c.IsGenerator() ? " select fdnm , cdom , iniv , dept , mand , comb from    qxddi150  "
                                          : " select fdnm , cdom , iniv , dept , comb, mand from    qxddi150  ";
    Recordset rs = c.repository.Open(columns + ("where " + TableCondition(appl, tcpac, tcmod, tflno)) + " order by fdno");
    const std::string table = std::string(tcpac) + std::string(tcmod) + std::string(tflno);
    if (!rs.HasRow())
      Raise(112, " XMLGeneration ",
            " No DDI Information present in the Appplication " + std::string(appl) + " for the TABLE: " + table);
    std::string elements;
    for (; !rs.Eof(); rs.MoveNext()) {
      const std::string fdnm = rs.Field("fdnm").AsText();
      const std::string cdom = rs.Field("cdom").AsText();
      const std::string comb = rs.Field("comb").AsText();
      const std::string name = UCase(fdnm);
      elements += " <" + name + " DOMA = " + Quoted(cdom) + " COMB = " + Quoted(comb);
      if (UCase(comb) == "Y") {
        std::string children;
        if (!Construct_Child_Field_Tag(c, appl, tcpac, tcmod, tflno, fdnm, children)) return false;
        elements += " CHLD = " + Quoted(UCase(children)) + " ";
      } else {
        elements += " CHLD = \"\" ";
      }
      DomainDescription domain;
      if (!Trim(cdom).empty() && !Construct_Domain_Tag(c, appl, cdom, domain)) return false;
      elements += " TYPE = " + Quoted(domain.type) + " LENG = " + Quoted(domain.length) +
                  " BDEC = " + Quoted(domain.digitsBefore) + " ADEC  = " + Quoted(domain.digitsAfter) + " " +
                  " > " + " </" + name + "> " + "\r\n";
      if (UCase(comb) == "N") {
        FieldDetails field;
        field.depth = c.IsGenerator() ? CInt(rs.Field("dept").AsNumber()) : CLng(rs.Field("dept").AsNumber());
        field.fieldName = fdnm;
        field.domainName = cdom;
        field.defaultValue = Trim(rs.Field("iniv").AsText());
        field.typeLetter = domain.type;
        field.length = domain.length;
        // The codes are one-character fields: cut, or a blank when empty.
        field.alignment = FixedLength(domain.alignment, 1);
        field.caseCode = FixedLength(domain.caseCode, 1);
        field.tableName = table;
        field.mandatory = rs.Field("mand").AsText();
        Store_Field_Details_in_Dictionary(c, field);
      }
    }
    text = "<TFLD>" + elements + "</TFLD>";
    return true;
  });
}

bool Construct_Child_Field_Tag(Component& c, std::string_view appl, std::string_view tcpac, std::string_view tcmod,
                               std::string_view tflno, std::string_view field, std::string& children) {
  return Trapped(c, StandardTrap(c), [&] {
    const char* select = c.IsGenerator() ? "SELECT * FROM qxddi160  " : "SELECT chld FROM qxddi160  ";
    Recordset rs = c.repository.Open(select + ("WHERE " + TableCondition(appl, tcpac, tcmod, tflno)) + " AND fdnm = '" +
                                     std::string(field) + "'");
    if (!rs.HasRow())
      Raise(113, "XML Generation",
            "No Child Field information for the field " + std::string(tcpac) + std::string(tcmod) +
                std::string(tflno) + "." + std::string(field) + " in the application " + std::string(appl));
    std::vector<std::string> names;
    for (; !rs.Eof(); rs.MoveNext()) names.push_back(Trim(rs.Field("chld").AsText()));
    children = Join(names, "|");
    return true;
  });
}

bool Construct_Domain_Tag(Component& c, std::string_view appl, std::string_view domain, DomainDescription& out) {
  return Trapped(c, StandardTrap(c), [&] {
    Recordset rs = c.repository.Open(" select type , leng , diga , adju , conv , digb from qxddi220 where appl = '" +
                                     std::string(appl) + "' AND cpac+cdom = '" + std::string(domain) + "'");
    if (!rs.HasRow())
      Raise(114, "XML Generation",
            " No Domain information for the domain " + std::string(domain) + " in the Application " +
                std::string(appl));
    // The generator trims only the digits before the point; the legacy class
    // trims every value but the type.
    auto value = [&](long column, bool trim) {
      std::string v = rs.Field(column).AsText();
      return trim ? Trim(v) : v;
    };
    const bool legacy = c.IsLegacy();
    out.type = UCase(value(0, false));
    out.length = value(1, legacy);
    out.digitsAfter = value(2, legacy);
    out.alignment = value(3, legacy);
    out.caseCode = value(4, legacy);
    out.digitsBefore = value(5, true);
    return true;
  });
}

}  // namespace tqlm
