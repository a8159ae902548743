#include "document/create_xml.h"

#include <array>

#include "document/document_file.h"
#include "document/sections.h"
#include "interface/error_trap.h"
#include "sidefiles/split_processing.h"

namespace tqlm {

namespace {

// The sections of a mapping-object document, in order, with the element the
// generator wraps around a fragment for its check.
constexpr std::array<Section, 5> kSections{{
    {Construct_Info_Tag, ""},
    {Construct_PreCondition_Tag, ""},
    {Construct_Source_Table_Tags, "Source_Tables"},
    {Construct_Function_Tag, ""},
    {[](Component& c, const MappingObject& o, std::string& t) { return Construct_Dump_Tag(c, o, false, t); },
     "AllDumps"},
}};

constexpr TrapStyle kLegacyCreateXmlTrap{"\t\tERROR in Create_XML:- ", " - ", "\r\n", LogCall::Write, true};

// The generator names the type "F" with no blank after "="; the legacy class
// writes "M" after a blank.
std::string Header(const Component& c, const MappingObject& object) {
  std::string type = c.IsGenerator() ? " TYPE =\"F\"" : " TYPE = \"M\"";
  return "<" + object.ElementName() + type + " TARGETTABLES = \"" + object.TableCode() + "\">\r\n";
}

}  // namespace

bool Create_XML(Component& c, MappingObject object) {
  if (c.IsLegacy()) c.document.includeText.clear();
  c.splitConditions.RemoveAll();
  ResetDocumentState(c);
  const TrapStyle& trap = c.IsGenerator() ? kGeneratorTrap : kLegacyCreateXmlTrap;
  return Trapped(c, trap, [&] {
    if (IsTrue(c.splitVorps)) {
      std::string extended;
      if (!AddSplitQueries_to_Precondition(c, object.sapp, object.prtx, object.TableCode(), extended)) return false;
      object.prtx = extended;
    }
    std::string folder = ObjectFolder(c, object.tcpac + object.tcmod);
    std::string document = Header(c, object);
    if (!AppendSections(c, object, kSections, false, document)) return false;
    document += "</" + object.ElementName() + ">";
    StoreDocument(c, folder, "x" + object.TableCode() + "0", document);
    return true;
  });
}

}  // namespace tqlm
