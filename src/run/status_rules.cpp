#include "run/status_rules.h"

#include "platform/text.h"
#include "rules/xml_escape.h"

namespace tqlm {

namespace {

Decision Skip(ObjectOutcome outcome, Counted counted) { return Decision{outcome, counted, false, {}}; }

MappingObject DocumentOf(const FoundRow& found, const ObjectPlace& place, std::string stbl, std::string prtx) {
  MappingObject document;
  document.mprf = found.profile;
  document.vers = found.triple.vers;
  document.rele = found.triple.rele;
  document.cust = found.triple.cust;
  document.tcpac = place.codes.pac;
  document.tcmod = place.codes.mod;
  document.tflno = place.codes.flno;
  document.sapp = place.sapp;
  document.tapp = place.tapp;
  document.stbl = std::move(stbl);
  document.prtx = std::move(prtx);
  return document;
}

// Generator: X counts as an error, E is skipped as one only with option 4,
// the pre-condition is trimmed.
Decision GeneratorStatusRules(const Component& c, const FoundRow& found, const ObjectPlace& place) {
  const MappingRow& row = found.row;
  // The status letter is compared exactly as stored.
  if (row.stat == "X") return Skip(ObjectOutcome::Expired, Counted::AsError);
  if (row.stat == "E" && c.settings.generationOption == 4) return Skip(ObjectOutcome::StatusError, Counted::AsError);
  std::string prtx = Trim(row.prtx);
  if (row.stat == "D") return Skip(ObjectOutcome::CommentOnly, Counted::AsNoMapping);
  if (row.stat == "M" && prtx.empty() && row.comt.empty()) return Skip(ObjectOutcome::NoRules, Counted::AsNoMapping);
  Decision decision;
  decision.document = DocumentOf(found, place, row.stbl.AsText(), std::move(prtx));
  decision.mscript = row.isms.AsFlag();
  return decision;
}

// Legacy: X is counted nowhere, every E is skipped as an error, the
// pre-condition is kept untrimmed and escaped, an object without a
// source-table list is skipped, and the list is joined by " , ".
Decision LegacyStatusRules(Component& c, const FoundRow& found, const ObjectPlace& place) {
  const MappingRow& row = found.row;
  if (row.stat == "X") return Skip(ObjectOutcome::Expired, Counted::Nowhere);
  if (row.stat == "E") return Skip(ObjectOutcome::StatusError, Counted::AsError);
  if (row.stat == "D") return Skip(ObjectOutcome::CommentOnly, Counted::AsNoMapping);
  if (row.stat == "M" && row.prtx.empty() && row.comt.empty())
    return Skip(ObjectOutcome::NoRules, Counted::AsNoMapping);
  if (row.stbl.IsNull()) return Skip(ObjectOutcome::NullSourceTables, Counted::Nowhere);
  Decision decision;
  decision.document =
      DocumentOf(found, place, Replace(row.stbl.AsText(), ",", " , "), Escape_XML_Text(c, row.prtx));
  decision.mscript = row.isms.AsFlag();
  return decision;
}

}  // namespace

Decision ApplyStatusRules(Component& c, const FoundRow& found, const ObjectPlace& place) {
  return c.traits.kind == ClassKind::Legacy ? LegacyStatusRules(c, found, place)
                                            : GeneratorStatusRules(c, found, place);
}

}  // namespace tqlm
