#include "sidefiles/schema_ini.h"


#include "core/error_trap.h"
#include "platform/text.h"
#include "sidefiles/side_file.h"

namespace tqlm {

namespace {

constexpr TrapStyle kSchemaIniTrap{"\t\tERROR in Build_Schema_ini :- ", " - ", "\r\n", LogCall::Write, true};

// The driver's column type of a data-type letter; empty for a letter it
// does not know.
std::string_view ColumnType(const std::string& letter) {
  static constexpr std::pair<std::string_view, std::string_view> kTypes[] = {
      {"M", "Bit"},    {"B", "Byte"}, {"I", "Short"},  {"C", "Currency"}, {"S", "Single"},
      {"L", "Long"},   {"U", "Text"}, {"D", "Double"}, {"T", "Datetime"}, {"A", "Memo"},
  };
  for (const auto& [key, type] : kTypes)
    if (letter == key) return type;
  return {};
}

std::string FormatLine(const Value& separator) {
  if (separator.IsNull()) return "Format=FixedLength";
  const std::string sepr = separator.AsText();
  const std::string upper = UCase(sepr);
  if (upper == "TAB") return "Format=TabDelimited";
  if (upper == ",") return "Format=CSVDelimited";
  return "Format=Delimited(" + sepr + ")";
}

// The section of every file row.
std::string Sections(Component& c, Recordset& files, const std::string& application) {
  std::string ini;
  // A letter the driver does not know keeps the type of the column before.
  std::string_view type;
  for (; !files.Eof(); files.MoveNext()) {
    const std::string flno = files.Field("flno").AsText();
    const std::string name = Mid(flno, InStrRev(flno, "\\") + 1);
    const long dot = InStr(name, ".");
    const std::string base = dot > 0 ? Left(name, dot - 1) : name;
    const bool fixedLength = files.Field("sepr").IsNull();
    std::string section = "[" + name + "]\r\n" + FormatLine(files.Field("sepr")) + "\r\n";
    section += files.Field("tcol").AsFlag() ? "ColNameHeader=True\r\n" : "ColNameHeader=False\r\n";
    section += "CharacterSet=ANSI\r\n";
    Recordset fields = c.Query(" select * from qxlgy150  where  qxlgy150.appl=" + TextValue(application) +
                               " and qxlgy150.cpac='qx' and qxlgy150.cmod='fil' and qxlgy150.flno=" +
                               TextValue(flno) + " order by seqn ");
    long column = 0;
    for (; !fields.Eof(); fields.MoveNext()) {
      if (std::string_view known = ColumnType(UCase(fields.Field("dtyp").AsText())); !known.empty()) type = known;
      section += "Col" + CStr(static_cast<long long>(++column)) + " = " + base + "_" +
                 Replace(fields.Field("flna").AsText(), "$", "") + " " + std::string(type);
      if (fixedLength)
        section += " width " + CStr(fields.Field("epos").AsNumber() - fields.Field("spos").AsNumber()) + "\r\n";
      else
        section += " width  255\r\n";
    }
    ini.append(section).append("\r\n");
  }
  return ini;
}

}  // namespace

bool Build_Schema_ini(Component& c, std::string_view appl, SideFiles& out) {
  return Trapped(c, kSchemaIniTrap, [&] {
    const std::string application(appl);
    Recordset files =
        c.Query(" select * from qxlgy141  where appl=" + TextValue(Trim(application)) + " and cpac='qx'  and cmod='fil' ");
    if (!files.HasRow()) return true;
    // "\Schema.ini" after the folder, as given: an empty folder names the root.
    const std::string path = c.settings.schemaIniPath + "/Schema.ini";
    out.Begin(path);
    out.Add(path, Sections(c, files, application));
    return true;
  });
}

}  // namespace tqlm
