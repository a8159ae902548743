// The PRE-CONDITIONS element, and the count of "migrate" statements that
// sizes the source-table tags.

#include "document/precondition_tag.h"
#include "rules/xml_escape.h"
#include "core/error_trap.h"
#include "platform/text.h"
#include "rules/keywords.h"
#include "rules/select_translation.h"

namespace tqlm {

namespace {

// The number of words holding "migrate" (any case), minus one.
VbInteger MigrateCount(const std::string& text) {
  std::string words = text;
  for (std::string_view gap : {"\n", "\r", "\t"}) words = Replace(words, gap, " ");
  long count = 0;
  for (const std::string& word : Split(words, " "))
    if (InStr(LCase(word), "migrate") > 0) ++count;
  return CInt(count - 1);
}

// Legacy errors are written as "ERROR:" number "-" description, alone.
constexpr TrapStyle kLegacyPreConditionTrap{"ERROR:", "-", "", LogCall::Write, true};

// Generator: keywords rewritten, escaped, and the "migrate" words counted.
bool GeneratorPreConditionTag(Component& c, DocumentState& d, const MappingObject& o, std::string& text) {
  return Trapped(c, kGeneratorTrap, [&] {
    std::string rewritten;
    if (!Replace_Empty_Default_Target(c, d.declarations, o.sapp, o.tapp, o.prtx, rewritten)) return false;
    const std::string s = EscapeAmpLtGt(rewritten);
    text += "<PRE-CONDITIONS>\r\n" + s + "\r\n</PRE-CONDITIONS>\r\n";
    d.migrateCount = MigrateCount(s);
    return true;
  });
}

// Legacy: the run has escaped the text already; keywords rewritten (a failure
// leaves the text empty) and the rule translated.
bool LegacyPreConditionTag(Component& c, const DocumentState& d, const MappingObject& o, std::string& text) {
  return Trapped(c, kLegacyPreConditionTrap, [&] {
    text += "<PRE-CONDITIONS>\r\n";
    std::string rewritten;
    Replace_Empty_Default_Target(c, d.declarations, o.sapp, o.tapp, o.prtx, rewritten);
    std::string translated;
    if (!Translate_Rule(c, d.declarations, rewritten, o.stbl, o.sapp, translated)) Raise(125);
    text += translated + "\r\n</PRE-CONDITIONS>\r\n";
    return true;
  });
}

}  // namespace

bool Construct_PreCondition_Tag(Component& c, DocumentState& d, const MappingObject& o, std::string& text) {
  return c.traits.kind == ClassKind::Legacy ? LegacyPreConditionTag(c, d, o, text)
                                            : GeneratorPreConditionTag(c, d, o, text);
}

}  // namespace tqlm
