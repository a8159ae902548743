#include "sidefiles/lookup_application.h"

#include "platform/error.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace tqlm {

bool Build_Lookup_Application_File(Component& c, std::string_view lookupApplication, SideFiles& out) {
  const std::string path = fs::ChildPath(c.settings.xmlPath, "LookupApplication.txt");
  out.Begin(path);
  Recordset rs = c.Query("select * from qxddi101 where appl=" + TextValue(Trim(lookupApplication)));
  if (!rs.HasRow()) {
    out.Add(path, "", true);  // the file stays, empty
    return false;
  }
  std::string text;
  for (const char* column : {"sour", "logn", "pswd"}) {
    const Value& value = rs.Field(column);
    if (value.IsNull()) Raise(kErrInvalidNull);  // a Null written as a line
    text.append(value.AsText()).append("\r\n");
  }
  out.Add(path, std::move(text), true);
  return true;
}

}  // namespace tqlm
