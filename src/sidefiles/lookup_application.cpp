#include "sidefiles/lookup_application.h"

#include "platform/error.h"
#include "platform/filesystem.h"
#include "platform/text.h"
#include "platform/textstream.h"
#include "sidefiles/side_file.h"

namespace tqlm {

namespace {

bool WriteLookupApplication(Component& c, std::string_view lookupApplication, const std::string& path) {
  std::unique_ptr<TextStream> file = CreateTextFile(path, {.ownerOnly = true, .atomic = true});
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

}  // namespace

bool Build_Lookup_Application_File(Component& c, std::string_view lookupApplication) {
  const std::string path = fs::ChildPath(c.settings.xmlPath, "LookupApplication.txt");
  return WriteSideFile({path}, [&] { return WriteLookupApplication(c, lookupApplication, path); });
}

}  // namespace tqlm
