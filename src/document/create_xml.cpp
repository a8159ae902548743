#include "document/create_xml.h"

#include <array>

#include "document/document_file.h"
#include "document/dump_tag.h"
#include "document/field_tags.h"
#include "document/function_tag.h"
#include "document/index_tags.h"
#include "document/info_tag.h"
#include "document/precondition_tag.h"
#include "document/source_table_tags.h"
#include "document/source_tags.h"
#include "document/variable_tag.h"
#include "core/error_trap.h"
#include "split/split_processing.h"

namespace tqlm {

namespace {

bool DumpTag(Component& c, const MappingObject& o, std::string& t) { return Construct_Dump_Tag(c, o, false, t); }

// The sections of a mapping-object document, in order, with the element the
// generator wraps around a fragment for its check.
constexpr std::array<Section, 5> kSections{{
    {Construct_Info_Tag, ""},
    {Reading<Construct_PreCondition_Tag>, ""},
    {Reading<Construct_Source_Table_Tags>, "Source_Tables"},
    {Reading<Construct_Function_Tag>, ""},
    {Reading<DumpTag>, "AllDumps"},
}};

std::string Header(const Component& c, const MappingObject& object) {
  return "<" + object.ElementName() + std::string(c.traits.documentType) + " TARGETTABLES = \"" +
         object.TableCode() + "\">\r\n";
}

// The statements of the sections that depend on the mapping object alone,
// in the order the sections run them.
std::vector<Statement> StatementsAhead(const Component& c, const MappingObject& o) {
  const bool legacy = c.traits.kind == ClassKind::Legacy;
  std::vector<Statement> ahead;
  if (!(legacy && c.run.legacyApplication)) ahead.push_back(FieldsStatement(c, o.tapp, o.tcpac, o.tcmod, o.tflno));
  ahead.push_back(IndexesStatement(o.tapp, o.tcpac, o.tcmod, o.tflno));
  ahead.push_back(VariablesStatement(o));
  if (!legacy) {
    ahead.push_back(SourceFieldsStatement(o.sapp, o.stbl));
    ahead.push_back(SourceIndexesStatement(o.sapp, o.stbl));
  }
  ahead.push_back(SourceQueriesStatement(c, o));
  ahead.push_back(FunctionsStatement(c, o));
  ahead.push_back(RulesStatement(o));
  return ahead;
}

}  // namespace

bool Create_XML(Component& c, MappingObject object) {
  c.document.Reset();
  return Trapped(c, c.traits.createXmlTrap, [&] {
    if (IsTrue(c.settings.splitVorps)) {
      std::string extended;
      if (!AddSplitQueries_to_Precondition(c, object.sapp, object.prtx, object.TableCode(), extended)) return false;
      object.prtx = extended;
    }
    RequireElementName(object.TableCode());
    std::string folder = ObjectFolder(c, object.tcpac + object.tcmod);
    std::string document = Header(c, object);
    if (c.ReadsAhead()) c.Prefetch(StatementsAhead(c, object));
    if (!AppendSections(c, object, kSections, false, document)) return false;
    document += "</" + object.ElementName() + ">";
    StoreDocument(c, folder, "x" + object.TableCode() + "0", document);
    return true;
  });
}

}  // namespace tqlm
