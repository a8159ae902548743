#include "sidefiles/lookup_application.h"

#include "platform/error.h"
#include "platform/filesystem.h"
#include "platform/text.h"
#include "platform/textstream.h"

namespace tqlm {

bool Build_Lookup_Application_File(Component& c, std::string_view lookupApplication) {
  std::unique_ptr<TextStream> file =
      CreateTextFile(fs::ChildPath(c.settings.xmlPath, "LookupApplication.txt"), {.ownerOnly = true, .atomic = true});
  Recordset rs = c.Query("select * from qxddi101 where appl=" + TextValue(Trim(lookupApplication)));
  if (!rs.HasRow()) {
    file->Close();  // the file stays, empty
    return false;
  }
  for (const char* column : {"sour", "logn", "pswd"}) {
    const Value& value = rs.Field(column);
    if (value.IsNull()) Raise(kErrInvalidNull);  // a Null written as a line
    file->WriteLine(value.AsText());
  }
  file->Close();
  return true;
}

}  // namespace tqlm
