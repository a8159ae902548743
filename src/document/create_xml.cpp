#include "document/create_xml.h"

#include <array>
#include <utility>

#include "document/document_file.h"
#include "document/dump_tag.h"
#include "document/function_tag.h"
#include "document/info_tag.h"
#include "document/precondition_tag.h"
#include "document/source_table_tags.h"
#include "core/error_trap.h"
#include "core/log_capture.h"

namespace tqlm {

namespace {

bool DumpTag(Component& c, DocumentState& d, const MappingObject& o, std::string& t) {
  return Construct_Dump_Tag(c, d, o, false, t);
}

// The sections of a mapping-object document, in order, with the element the
// generator wraps around a fragment for its check, and the statements each
// runs that depend on the object alone.
constexpr std::array<Section, 5> kSections{{
    {Construct_Info_Tag, "", InfoStatements},
    {Reading<Construct_PreCondition_Tag>, ""},
    {Reading<Construct_Source_Table_Tags>, "Source_Tables", SourceTableStatements},
    {Reading<Construct_Function_Tag>, "", FunctionStatements},
    {Reading<DumpTag>, "AllDumps", DumpStatements},
}};

std::string Header(const Component& c, const MappingObject& object) {
  return "<" + object.ElementName() + std::string(c.traits.documentType) + " TARGETTABLES = \"" +
         object.TableCode() + "\">\r\n";
}

}  // namespace

BuiltDocument Create_XML(Component& c, MappingObject object, DocumentState room) {
  BuiltDocument out;
  out.trap = c.traits.createXmlTrap;
  out.state = std::move(room);
  out.state.Clear();
  DocumentState& d = out.state;
  LogCapture capture(c);
  out.complete = Trapped(c, c.traits.createXmlTrap, [&] {
    if (!ExtendPreconditionForSplit(c, d, object, object.TableCode())) return false;
    RequireElementName(object.TableCode());
    out.folder = ObjectFolder(c, object.tcpac + object.tcmod);
    out.logBeforeFolder = capture.Take();
    std::string& document = d.text;
    document += Header(c, object);
    if (c.ReadsAhead()) c.Prefetch(SectionStatements(c, object, kSections));
    if (!AppendSections(c, d, object, kSections, false, document)) return false;
    document += "</" + object.ElementName() + ">";
    SetDocumentFile(c, out, "x" + object.TableCode() + "0", std::move(document));
    return true;
  });
  out.log = capture.Take();
  out.errorDescription = capture.ErrorDescription();
  return out;
}

}  // namespace tqlm
