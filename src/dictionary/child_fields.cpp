#include "dictionary/child_fields.h"

#include "core/error_trap.h"
#include "dictionary/table_condition.h"
#include "platform/text.h"

namespace tqlm {

bool Construct_Child_Field_Tag(Component& c, std::string_view appl, std::string_view tcpac, std::string_view tcmod,
                               std::string_view tflno, std::string_view field, std::string& children) {
  return Trapped(c, c.traits.standardTrap, [&] {
    Recordset rs = c.Query(Statement::OwnText(c.traits.childFieldSelect) + "WHERE " +
                           TableCondition(appl, tcpac, tcmod, tflno) + " AND fdnm = " + TextValue(field));
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

}  // namespace tqlm
