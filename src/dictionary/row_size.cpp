#include "dictionary/row_size.h"

#include "platform/text.h"

namespace tqlm {

namespace {

// "A type equal to the number 0": a number, or numeric text, that is 0.
bool IsZero(const Value& type) {
  if (type.IsNull()) return false;
  if (!type.IsText()) return type.AsNumber() == 0;
  return IsNumeric(type.AsText()) && CDbl(type.AsText()) == 0;
}

}  // namespace

VbLong RowSizeofTable(Component& c, std::string_view appl, std::string_view table) {
  Recordset rs = c.Query(
      "select qxddi150.cpac+qxddi150.cmod+qxddi150.flno, qxddi220.type,qxddi220.leng,qxddi220.digb,qxddi220.diga"
      " From qxddi150, qxddi220  where qxddi150.appl = " +
      TextValue(appl) + " and qxddi150.appl = qxddi220.appl and qxddi150.cpac+qxddi150.cmod+qxddi150.flno = " +
      TextValue(table) + " and qxddi150.cdom = qxddi220.cpac+qxddi220.cdom");
  if (!rs.HasRow()) return 1;
  VbLong sum = 0;
  VbInteger size = 0;  // a type outside the table adds the previous field's size again
  for (; !rs.Eof(); rs.MoveNext()) {
    const Value& type = rs.Field(1L);
    const std::string letter = type.AsText();
    auto digits = [&] { return CInt(rs.Field(3L).AsNumber() + rs.Field(4L).AsNumber()); };
    if (letter == "B") {
      size = 1;
    } else if (letter == "D" || letter == "F" || letter == "I" || letter == "L") {
      size = digits();
    } else if (letter == "E" || letter == "P") {
      size = 3;
    } else if (letter == "K" || letter == "T") {
      size = 22;
    } else if (letter == "M") {
      size = CInt(rs.Field(2L).AsNumber() * 4);
    } else if (letter == "S") {
      size = CInt(rs.Field(2L).AsNumber());
    } else if (letter == "U" || IsZero(type)) {
      size = 1;
    }
    sum = CLng(static_cast<long long>(sum) + size);
  }
  return sum;
}

}  // namespace tqlm
