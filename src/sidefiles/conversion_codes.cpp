#include "sidefiles/conversion_codes.h"

#include "core/error_trap.h"
#include <tqlm/base64.h>
#include "platform/paths.h"
#include "platform/text.h"
#include "rules/xml_escape.h"
#include "sidefiles/side_file.h"

namespace tqlm {

namespace {

constexpr TrapStyle kConversionCodesTrap{"\t\tERROR in Create_Conversion_Code_XML:- ", " - ", "\r\n", LogCall::Write,
                                         true};
constexpr std::string_view kPairSeparator = "~|~";

// Drops the separator after the last pair of a code.
void DropLastSeparator(std::string& text) {
  if (!Trim(text).empty()) text = Left(text, Len(text) - static_cast<long>(kPairSeparator.size()));
}

}  // namespace

bool Create_Conversion_Code_XML(Component& c, std::string& out) {
  return Trapped(c, kConversionCodesTrap, [&] {
    std::string text;
    Recordset rs = c.Query(" select qxlgy115.code, qxlgy115.ival, qxlgy115.oval  from qxlgy115  order by "
                           "qxlgy115.code,qxlgy115.ival ");
    if (rs.HasRow()) {
      std::string current;
      for (; !rs.Eof(); rs.MoveNext()) {
        const std::string code = rs.Field("code").AsText();
        if (Trim(current).empty()) {
          current = code;
          text += "<" + code + ">";
        } else if (code != current) {
          DropLastSeparator(text);
          text += "</" + current + ">";
          current = code;
          text += "<" + code + ">";
        }
        text += Escape_XML_Text(c, rs.Field("ival").AsText() + "-" + rs.Field("oval").AsText() +
                                       std::string(kPairSeparator));
      }
      DropLastSeparator(text);
      text += "</" + current + ">";
    }
    out = "<CONVERSION-CODES>" + text + "</CONVERSION-CODES>";
    return true;
  });
}

SideFiles ConversionCodeFiles(const Component& c, const std::string& text) {
  const std::string trimmed = Trim(text);
  const std::string path = fs::ChildPath(c.settings.xmlPath, "xConversionCodes");
  SideFiles out;
  out.Begin(path);
  out.Begin(path + ".XML");
  out.Add(path, Encode_Base64(trimmed));
  out.Add(path + ".XML", trimmed);
  return out;
}

}  // namespace tqlm
