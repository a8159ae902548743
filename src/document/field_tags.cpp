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

// One field's element, appended to `out`: " <NAME DOMA = .. COMB = .. CHLD = .. "
// and " TYPE = .. LENG = .. BDEC = .. ADEC  = ..  >  </NAME> " CR LF.
void AppendFieldElement(std::string& out, const std::string& name, std::string_view domain, std::string_view comb,
                        std::string_view children, std::string_view type, std::string_view length,
                        std::string_view digitsBefore, std::string_view digitsAfter) {
  out.append(" <").append(name);
  out.append(" DOMA = \"").append(domain).append("\" COMB = \"").append(comb);
  out.append("\" CHLD = \"").append(children).append("\"  TYPE = \"").append(type);
  out.append("\" LENG = \"").append(length).append("\" BDEC = \"").append(digitsBefore);
  out.append("\" ADEC  = \"").append(digitsAfter).append("\"  >  </").append(name).append("> \r\n");
}

[[noreturn]] void NoFields(std::string_view appl, const std::string& table) {
  Raise(112, " XMLGeneration ",
        " No DDI Information present in the Appplication " + std::string(appl) + " for the TABLE: " + table);
}

// The initial value of a field record. The legacy class gives date and time
// fields fixed values, later ones for mandatory fields.
std::string InitialValue(const Component& c, const Recordset& rs, const std::string& type) {
  const std::string iniv = Trim(rs.Field("iniv").AsText());
  if (c.traits.kind == ClassKind::Generator) return iniv;
  constexpr std::string_view kMandatoryDate = "1970-01-04 00:00:00";
  const std::string mand = rs.Field("mand").AsText();
  if (type == "K") return std::string(UCase(mand) == "Y" ? kMandatoryDate : "1970-01-01 00:00:00");
  if (type == "T") return std::string(mand == "Y" ? kMandatoryDate : "0");
  return iniv;
}

}  // namespace

Statement FieldsStatement(const Component& c, std::string_view appl, std::string_view tcpac, std::string_view tcmod,
                          std::string_view tflno) {
  return Statement::OwnText(c.traits.fieldSelect) + "where " + TableCondition(appl, tcpac, tcmod, tflno) +
         " order by fdno";
}

bool Construct_Field_Tags(Component& c, Dictionary<CFieldInfo>& fields, std::string_view appl, std::string_view tcpac,
                          std::string_view tcmod, std::string_view tflno, std::string& text) {
  // Tables of a legacy target application are described by their layout.
  if (c.traits.kind == ClassKind::Legacy && c.run.legacyApplication)
    return Construct_Legacy_Field_Tags(c, fields, appl, tcpac, tcmod, tflno, text);
  return Trapped(c, c.traits.standardTrap, [&] {
    Recordset rs = c.Query(FieldsStatement(c, appl, tcpac, tcmod, tflno));
    const std::string table = std::string(tcpac) + std::string(tcmod) + std::string(tflno);
    if (!rs.HasRow()) NoFields(appl, table);
    std::string elements;
    for (; !rs.Eof(); rs.MoveNext()) {
      const std::string fdnm = rs.Field("fdnm").AsText();
      const std::string cdom = rs.Field("cdom").AsText();
      const std::string comb = rs.Field("comb").AsText();
      std::string children;
      if (UCase(comb) == "Y") {
        if (!Construct_Child_Field_Tag(c, appl, tcpac, tcmod, tflno, fdnm, children)) return false;
        children = UCase(children);
      }
      DomainDescription domain;
      if (!Trim(cdom).empty() && !Construct_Domain_Tag(c, appl, cdom, domain)) return false;
      AppendFieldElement(elements, UCase(fdnm), cdom, comb, children, domain.type, domain.length,
                         domain.digitsBefore, domain.digitsAfter);
      if (UCase(comb) == "N") {
        FieldDetails field;
        field.depth = ClassNumber(c.traits, rs.Field("dept").AsNumber());
        field.fieldName = fdnm;
        field.domainName = cdom;
        field.defaultValue = InitialValue(c, rs, domain.type);
        field.typeLetter = domain.type;
        field.length = domain.length;
        // The codes are one-character fields: cut, or a blank when empty.
        field.alignment = FixedLength(domain.alignment, 1);
        field.caseCode = FixedLength(domain.caseCode, 1);
        field.tableName = table;
        field.mandatory = rs.Field("mand").AsText();
        Store_Field_Details_in_Dictionary(c, fields, field);
      }
    }
    text = "<TFLD>" + elements + "</TFLD>";
    return true;
  });
}

bool Construct_Legacy_Field_Tags(Component& c, Dictionary<CFieldInfo>& fields, std::string_view appl,
                                 std::string_view tcpac, std::string_view tcmod, std::string_view tflno,
                                 std::string& text) {
  return Trapped(c, c.traits.standardTrap, [&] {
    Recordset rs = c.Query(" select epos,spos,flna , dtyp from    qxlgy150  where " +
                           TableCondition(appl, tcpac, tcmod, tflno) + " order by seqn");
    const std::string table = std::string(tcpac) + std::string(tcmod) + std::string(tflno);
    if (!rs.HasRow()) NoFields(appl, table);
    std::string elements;
    for (; !rs.Eof(); rs.MoveNext()) {
      const std::string flna = rs.Field("flna").AsText();
      const std::string dtyp = rs.Field("dtyp").AsText();
      const Value& epos = rs.Field("epos");
      const Value& spos = rs.Field("spos");
      const std::string length = epos.IsNull() || spos.IsNull() ? "0" : CStr(epos.AsNumber() - spos.AsNumber());
      AppendFieldElement(elements, UCase(flna), "", "", "", dtyp, length, "", "");
      FieldDetails field;
      field.fieldName = flna;
      field.typeLetter = dtyp;
      field.length = length;
      field.alignment = " ";
      field.caseCode = " ";
      field.tableName = table;
      Store_Field_Details_in_Dictionary(c, fields, field);
    }
    text = "<TFLD>" + elements + "</TFLD>";
    return true;
  });
}

}  // namespace tqlm
