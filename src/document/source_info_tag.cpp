#include "document/source_info_tag.h"

#include "core/error_trap.h"
#include "platform/text.h"
#include "rules/xml_escape.h"

namespace tqlm {

bool Construct_Source_Info_Tag(Component& c, std::string_view appl, std::string_view stbl, std::string& out) {
  return Trapped(c, kLegacyTrap, [&] {
    const std::string application(appl);
    std::string text;
    for (const std::string& item : Split(stbl, ",")) {
      const std::string entry = Trim(item);
      // The searches for the extensions are case-sensitive.
      long extension = InStrRev(entry, ".txt");
      if (extension == 0) extension = InStrRev(entry, ".csv");
      const bool file = extension > 0;
      const std::string element = UCase(Replace(entry, ".", "_"));
      text += "<" + element + ">";
      std::string details;
      if (file) {
        if (!Get_Legacy_File_details(c, appl, "qx", "fil", entry, details))
          Raise(124, "XML Generation", "File Details for qxfil" + entry + " not present.");
      } else if (!Construct_Connection_Tags(c, appl, "qx", "tbl", entry, details)) {
        Raise(124, "XML Generation", "Table details for the  Legacy table qxtbl" + entry + " not present.");
      }
      text += details;
      const std::string base = file ? Left(entry, extension - 1) : entry;
      Recordset fields = c.Query(" select  " + TextValue(base) + " + '_' + flna from qxlgy150  where  appl=" +
                                 TextValue(application) + " and  flno = " + TextValue(entry));
      if (fields.HasRow()) text += "<SFLD>" + fields.GetString("|", "|", "") + "</SFLD>";
      text += "</" + element + ">\r\n";
    }
    out = "<SRC_INFO>" + text + "</SRC_INFO>";
    return true;
  });
}

bool Get_Legacy_File_details(Component& c, std::string_view appl, std::string_view cpac, std::string_view cmod,
                             std::string_view flno, std::string& text) {
  // The line names the file after its own line end.
  constexpr TrapStyle kTrap{"\t\tERROR in Get_Legacy_File_details :- ", " - ", "", LogCall::Write, true};
  const std::string hint = "\r\nHint : for File : " + std::string(cpac) + std::string(cmod) + std::string(flno);
  return Trapped(c, kTrap, [&] {
    Recordset rs = c.Query(" select * from qxlgy141  where appl=" + TextValue(appl) + " and cpac=" +
                           TextValue(cpac) + "  and cmod=" + TextValue(cmod) + "  and flno=" + TextValue(flno));
    if (rs.HasRow()) text = "<NSKP>" + rs.Field("nskp").AsText() + "</NSKP>";
    return true;
  }, hint);
}

bool Construct_Connection_Tags(Component& c, std::string_view appl, std::string_view cpac, std::string_view cmod,
                               std::string_view flno, std::string& text) {
  try {
    Recordset rs = c.Query(" select qxlgy140.* from qxlgy140  where qxlgy140.appl=" + TextValue(appl) +
                           " and qxlgy140.cpac=" + TextValue(cpac) + " and qxlgy140.cmod=" + TextValue(cmod) +
                           " and UPPER(qxlgy140.flno)=UPPER(" + TextValue(flno) + ")");
    if (!rs.HasRow()) return false;
    for (const auto& [element, column] : {std::pair{"DSN", "sour"}, std::pair{"LOGN", "logn"},
                                          std::pair{"PSWD", "pswd"}}) {
      text += "<" + std::string(element) + ">" + Escape_XML_Text(c, rs.Field(column).AsText()) + "</" +
              std::string(element) + ">\r\n";
    }
  } catch (...) {
    ReportError(c, kLegacyTrap, CurrentError());
  }
  return true;
}

}  // namespace tqlm
