// M-script documents: one document for the parent of a group of mapping
// objects that the engine runs as one unit, covering all its members.

#include <array>
#include <utility>

#include "document/document_file.h"
#include "document/mscript.h"
#include "document/dump_tag.h"
#include "document/function_tag.h"
#include "document/info_tag.h"
#include "document/precondition_tag.h"
#include "document/source_table_tags.h"

#include "core/error_trap.h"
#include "core/log_capture.h"
#include "platform/text.h"

namespace tqlm {

namespace {

// A member's code split into package, module and table number (of the
// class's width, or to the end of the code).
MappingObject Member(const Component& c, const MappingObject& parent, const std::string& code) {
  const long width = c.traits.tableNumberWidth;
  MappingObject member = parent;
  member.tcpac = Mid(code, 1, 2);
  member.tcmod = Mid(code, 3, 3);
  member.tflno = width > 0 ? Mid(code, 6, width) : Mid(code, 6);
  member.mscript = false;
  member.members.clear();
  return member;
}

constexpr std::array<Section, 5> kMScriptSections{{
    {Construct_MScript_info_Tag, ""},
    {Reading<Construct_PreCondition_Tag>, ""},
    {Reading<Construct_Source_Table_Tags>, "SourceTables"},
    {Reading<Construct_Function_Tag>, ""},
    {Reading<Construct_Dump_Tags>, "All_Dumps"},
}};

struct Parent {
  std::string bpac, bmod, bflno;
  std::string Code() const { return bpac + bmod + bflno; }
};

Statement ProfileKeys(const MappingObject& o) {
  return " where mprf = " + NumberValue(o.mprf) + " and vers = " + TextValue(o.vers) + " and rele = " +
         TextValue(o.rele) + " and cust = " + TextValue(o.cust);
}

Parent FindParent(Component& c, const MappingObject& child) {
  Recordset rs = c.Query("Select bpac,bmod,bflno from qxmap170 " + ProfileKeys(child) + " and cpac = " +
                         TextValue(child.tcpac) + " and cmod = " + TextValue(child.tcmod) + " and cflno = " +
                         TextValue(child.tflno));
  if (!rs.HasRow())
    Raise(991, "Create_MScript_XML", "No Parent M-Script Defined for child M-script " + child.TableCode());
  // Package and module have fixed widths, the table number the class's
  // width or the one read.
  return Parent{FixedLength(rs.Field("bpac").AsText(), 2), FixedLength(rs.Field("bmod").AsText(), 3),
                ClassTableNumber(c.traits, rs.Field("bflno").AsText())};
}

// The codes of all members of the parent, joined by ",".
std::string MemberList(Component& c, const MappingObject& child, const Parent& parent) {
  Recordset rs = c.Query("Select cpac+cmod+cflno from qxmap170 " + ProfileKeys(child) + " and bpac = " +
                         TextValue(parent.bpac) + " and bmod = " + TextValue(parent.bmod) + " and bflno = " +
                         TextValue(parent.bflno));
  if (!rs.HasRow()) return {};
  std::string list = rs.GetString("", ",", "");
  return Left(list, Len(list) - 1);
}

}  // namespace

std::string MScriptMembers(Component& c, const MappingObject& child) {
  return MemberList(c, child, FindParent(c, child));
}

BuiltDocument Create_MScript_XML(Component& c, MappingObject child) {
  BuiltDocument out;
  out.trap = c.traits.mscriptTrap;
  DocumentState& d = out.state;
  LogCapture capture(c);
  out.complete = Trapped(c, c.traits.mscriptTrap, [&] {
    const Parent parent = FindParent(c, child);
    if (!ExtendPreconditionForSplit(c, d, child, parent.Code())) return false;
    MappingObject document = child;
    document.tcpac = parent.bpac;
    document.tcmod = parent.bmod;
    document.tflno = parent.bflno;
    document.mscript = true;
    document.members = MemberList(c, child, parent);
    // The members count as handled from here on, even if the document fails.
    out.handledMembers = document.members;

    RequireElementName(parent.Code());
    for (const std::string& member : Split(document.members, ",")) RequireElementName(member);
    const std::string element = UCase(parent.Code());
    std::string text = "<" + element + " TYPE =\"M\" TARGETTABLES = \"" + document.members + "\">\r\n";
    if (!AppendSections(c, d, document, kMScriptSections, true, text)) return false;
    text += "</" + element + ">";
    out.folder = ObjectFolder(c, parent.bpac + parent.bmod);
    SetDocumentFile(c, out, "x" + parent.Code() + "0", std::move(text));
    return true;
  });
  out.logBeforeFolder = capture.Take();
  out.errorDescription = capture.ErrorDescription();
  return out;
}

bool Construct_MScript_info_Tag(Component& c, DocumentState& d, MappingObject& o, std::string& text) {
  return Trapped(c, c.traits.mscriptInfoTrap, [&] {
    std::string out = " <INFO>\r\n";
    for (const std::string& code : Split(o.members, ",")) {
      out += "<" + UCase(code) + ">\r\n";
      if (!AppendTableDescription(c, d, o.tapp, Member(c, o, code), out)) return false;
      out += "</" + UCase(code) + ">\r\n";
    }
    if (!AppendVariablesAndSourceSide(c, d, o, out)) return false;
    out += "<SOURCETABLES>" + o.stbl + "</SOURCETABLES> </INFO>\r\n";
    text = out;
    return true;
  });
}

bool Construct_Dump_Tags(Component& c, DocumentState& d, const MappingObject& o, std::string& text) {
  return Trapped(c, c.traits.mscriptDumpsTrap, [&] {
    for (const std::string& code : Split(o.members, ",")) {
      std::string dumps;
      if (!Construct_Dump_Tag(c, d, Member(c, o, code), true, dumps)) return false;
      text += dumps + "\r\n";
    }
    return true;
  });
}

}  // namespace tqlm
