#include "sidefiles/split_info.h"

#include "platform/paths.h"
#include "platform/text.h"
#include "sidefiles/connection_string.h"

namespace tqlm {

namespace {

// The split information, `appl` naming the source application of the
// connections.
std::string SplitInfo(Component& c, const std::string& appl) {
  std::string file;
  Recordset targets = c.Query("select distinct ttbl  from qxmap300");
  if (!targets.HasRow()) return file;
  // A line that starts with CR LF follows an empty line.
  auto line = [&](const std::string& text) { file.append(text).append("\r\n"); };
  line("<conversionobjects>");
  for (; !targets.Eof(); targets.MoveNext()) {
    const std::string target = targets.Field("ttbl").AsText();
    line("\r\n<conversionobject>");
    line("\t<name>" + target + "</name>");
    Recordset sources = c.Query("select * from qxmap300 where ttbl = " + TextValue(target));
    if (sources.HasRow()) {
      line("\r\n\t\t<sourcetables>");
      for (; !sources.Eof(); sources.MoveNext()) {
        const std::string source = sources.Field("stbl").AsText();
        line("\r\n<sourcetable>");
        line("\r\n<name>" + source + "</name>");
        line("\r\n" + GetConnStr(c, appl, source));
        line("\r\n<fields>");
        for (const std::string& field : Split(sources.Field("flst").AsText(), ",")) {
          line("\r\n<field>");
          line("\r\n<name>" + field + "</name>");
          line("\r\n<from></from>");
          line("\r\n<to></to>");
          line("\r\n</field>");
        }
        line("\r\n</fields>");
        line("\r\n</sourcetable>");
      }
      line("\r\n\t\t</sourcetables>");
    }
    line("\r\n</conversionobject>");
  }
  line("</conversionobjects>");
  return file;
}

}  // namespace

bool ConstructSplitInfoFile(Component& c, VbInteger profile, std::string_view fileName, SideFiles& out) {
  std::string appl;
  {
    Recordset rs = c.Query("select * from qxmap100 where mprf=" + NumberValue(profile));
    if (rs.HasRow()) appl = rs.Field("sapp").AsText();
  }
  const std::string path(fileName);
  out.Begin(path, /*overReadOnly=*/true);
  out.Add(path, SplitInfo(c, appl), /*ownerOnly=*/true);
  return true;
}

}  // namespace tqlm
