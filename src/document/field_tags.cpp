// The target table's fields: the TFLD element with child fields and domains,
// and the field records for the dump writer.

#include "document/field_tags.h"

#include "core/error_trap.h"
#include "dictionary/child_fields.h"
#include "dictionary/domains.h"
#include "dictionary/table_condition.h"
#include "platform/text.h"
#include "rules/field_details.h"

namespace tqlm {

namespace {

std::string Quoted(std::string_view value) { return "\"" + std::string(value) + "\""; }

}  // namespace

bool Construct_Field_Tags(Component& c, std::string_view appl, std::string_view tcpac, std::string_view tcmod,
                          std::string_view tflno, std::string& text) {
  return Trapped(c, c.traits.standardTrap, [&] {
    Recordset rs = c.Query(std::string(c.traits.fieldSelect) + ("where " + TableCondition(appl, tcpac, tcmod, tflno)) + " order by fdno");
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
        field.depth = ClassNumber(c.traits, rs.Field("dept").AsNumber());
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

}  // namespace tqlm
