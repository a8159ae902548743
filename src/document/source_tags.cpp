// The source side of the generator's INFO section: the fields and indexes of
// the source tables named in the mapping object's source-table list.

#include "document/source_tags.h"
#include "dictionary/child_fields.h"
#include "dictionary/index_parts.h"
#include "dictionary/table_condition.h"
#include "core/error_trap.h"
#include "platform/text.h"

namespace tqlm {

namespace {

// "abcde010,abcde011" gives 'abcde010' , 'abcde011' for an SQL in-list; an
// empty list the one empty code ''.
Statement SourceList(std::string_view stbl) {
  return TextValues(stbl.empty() ? std::vector<std::string>{""} : Split(stbl, ","), " , ");
}

}  // namespace

Statement SourceFieldsStatement(std::string_view sapp, std::string_view stbl) {
  return "select cpac + cmod + flno + '.' + fdnm from qxddi150 where appl = " + TextValue(sapp) +
         " and cpac + cmod + flno in (" + SourceList(stbl) + ") and comb = 'N' ";
}

Statement SourceIndexesStatement(std::string_view sapp, std::string_view stbl) {
  return " select * from  qxddi200 where appl = " + TextValue(sapp) + " and cpac + cmod + flno in (" +
         SourceList(stbl) + ")";
}

// No trap of its own: an error reaches the INFO writer's trap.
bool Construct_SrcField_Tag(Component& c, std::string_view sapp, std::string_view stbl, std::string& text) {
  Recordset rs = c.Query(SourceFieldsStatement(sapp, stbl));
  std::string fields;
  if (rs.HasRow()) fields = rs.GetString(" , ", " , ", "");
  text = "<SRCFIELD>" + fields + "</SRCFIELD>";
  return true;
}

bool Construct_SrcIndex_Tag(Component& c, std::string_view sapp, std::string_view stbl, std::string& text) {
  return Trapped(c, kGeneratorTrap, [&] {
    std::string out = "<SRCINDEX>";
    Recordset rs = c.Query(SourceIndexesStatement(sapp, stbl));
    for (; !rs.Eof(); rs.MoveNext()) {
      const std::string cpac = rs.Field("cpac").AsText();
      const std::string cmod = rs.Field("cmod").AsText();
      const std::string flno = rs.Field("flno").AsText();
      const std::string table = cpac + cmod + flno;
      const std::string element = table + "._index" + rs.Field("indn").AsText();
      out += " <" + element + ">";
      for (const std::string& part : IndexParts(rs)) {
        const std::string field = Trim(part);
        Recordset comb = c.Query(" select comb from    qxddi150  where " + TableCondition(sapp, cpac, cmod, flno) +
                                 " AND fdnm = " + TextValue(field));
        if (!comb.HasRow()) continue;  // a part the data dictionary does not know
        if (comb.Field("comb").AsText() == "Y") {
          // A failed child list has logged its error; the field then
          // contributes an empty list and the element goes on.
          std::string children;
          Construct_Child_Field_Tag(c, sapp, cpac, cmod, flno, field, children);
          out += " " + table + "." + Replace(children, "|", " , " + table + ".") + " " + " , ";
        } else {
          out += " " + table + "." + field + " , ";
        }
      }
      out += " </" + element + ">";
    }
    text = out + "</SRCINDEX>";
    return true;
  });
}

}  // namespace tqlm
