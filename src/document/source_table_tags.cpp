// The source-table tags: for every source table of the mapping object its
// main query (with a split condition merged in) and its select blocks.

#include <array>
#include <vector>

#include "document/source_table_tags.h"
#include "split/split_processing.h"
#include "rules/xml_escape.h"
#include "core/error_trap.h"
#include "platform/text.h"
#include "rules/format_string.h"
#include "rules/keywords.h"
#include "rules/select_translation.h"

namespace tqlm {

Statement SourceQueriesStatement(const Component& c, const MappingObject& o) {
  return Statement::OwnText(c.traits.sourceQuerySelect) + o.KeyConditions() +
         Statement::OwnText(c.traits.sourceQueryOrder);
}

std::vector<Statement> SourceTableStatements(const Component& c, const MappingObject& o) {
  return {SourceQueriesStatement(c, o)};
}

namespace {

// Query slots of one source table: "S", "D", "E", "O", "F", "X" and the code.
constexpr std::size_t kCodeSlot = 6;
using QuerySlots = std::array<std::string, 7>;

// The messages of errors 120 and 121 name a table that nothing supplies, so
// the name is always empty.
constexpr std::string_view kUnfilledTableName = "";

constexpr std::array<std::string_view, 6> kQueryCodes{"S", "D", "E", "O", "F", "X"};
constexpr std::array<std::string_view, 6> kBlockKeywords{"", "SelectDo", "SelectEmpty", "SelectError", "SelectEos",
                                                         "EndSelect"};

// The table holds room for one source table per "migrate" statement; one more
// source table overruns it.
QuerySlots& Slots(std::vector<QuerySlots>& table, std::size_t index) {
  if (index >= table.size()) Raise(kErrSubscript);
  return table[index];
}

std::vector<QuerySlots> ReadQueries(Component& c, VbInteger migrateCount, const MappingObject& o, std::size_t& used) {
  std::vector<QuerySlots> table(static_cast<std::size_t>(migrateCount) + 1);
  Recordset rs = c.Query(SourceQueriesStatement(c, o));
  if (!rs.HasRow()) Raise(120, "XML Generation", "No Mainquery for the Table " + std::string(kUnfilledTableName));
  std::size_t index = 0;
  std::string previous;
  bool first = true;
  for (; !rs.Eof(); rs.MoveNext()) {
    const std::string code = rs.Field("scpac").AsText() + rs.Field("scmod").AsText() + rs.Field("sflno").AsText();
    if (!first && code != previous) {
      Slots(table, index)[kCodeSlot] = previous;
      ++index;
    }
    first = false;
    previous = code;
    const std::string query = EscapeAmpLtGt(rs.Field("qury").AsText());
    const std::string icod = UCase(rs.Field("icod").AsText());
    for (std::size_t slot = 0; slot < kQueryCodes.size(); ++slot) {
      if (icod != kQueryCodes[slot]) continue;
      if (slot == 0 && query.empty())
        Raise(121, "XML Generation",
              "No Proper Main query defined for the Source " + std::string(kUnfilledTableName) + " Target " +
                  o.TableCode() + " combination.");
      Slots(table, index)[slot] = query;
    }
  }
  Slots(table, index)[kCodeSlot] = previous;
  used = index + 1;
  return table;
}

// The select blocks of a source table, each after its keyword; without a
// closing block, "EndSelect" closes them.
std::string SelectBlocks(const QuerySlots& slots) {
  std::string blocks;
  for (std::size_t slot = 1; slot <= 5; ++slot) {
    if (!Trim(slots[slot]).empty())
      blocks += "\r\n" + std::string(kBlockKeywords[slot]) + "\r\n" + slots[slot];
  }
  if (slots[5].empty()) blocks += "\r\nEndSelect\r\n";
  return blocks;
}

// Generator: the seven query slots of every source table read, written as
// the main query (with its split condition merged in) and its select blocks.
bool GeneratorSourceTableTags(Component& c, const DocumentState& d, const MappingObject& o, std::string& text) {
  return Trapped(c, kGeneratorTrap, [&] {
    // Without a "migrate" statement in the pre-condition there are no tags.
    if (d.migrateCount == -1) return true;
    std::size_t used = 0;
    const std::vector<QuerySlots> table = ReadQueries(c, d.migrateCount, o, used);
    std::string out;
    for (std::size_t i = 0; i < used; ++i) {
      const QuerySlots& slots = table[i];
      const std::string& code = slots[kCodeSlot];
      out += "<" + code + ">\r\n";
      std::string query = slots[0];
      if (query.empty()) {
        out += "</" + code + ">\r\n";
        continue;
      }
      if (const std::string* condition = d.splitConditions.Find(UCase(code))) {
        std::string formatted;
        if (!Format_String(c, query, formatted)) return false;
        query = MergeSplitCondition(formatted, *condition);
      }
      out += "\r\n" + EscapeAmpLtGt(query);
      std::string blocks;
      if (!Replace_Empty_Default_Target(c, d.declarations, o.sapp, o.tapp, SelectBlocks(slots), blocks)) return false;
      out += EscapeAmpLtGt(blocks) + "\r\n";
      out += "</" + code + ">\r\n";
    }
    text = out;
    return true;
  });
}

// A legacy query: queries of legacy files and tables (modules TBL and FIL)
// are rewritten for the script engine, the main query through the select
// translation after its split condition is merged in; others are escaped.
std::string LegacyQuery(Component& c, const DocumentState& d, const MappingObject& o, const Recordset& rs,
                        const std::string& code) {
  const std::string module = UCase(rs.Field("scmod").AsText());
  std::string query = rs.Field("qury").AsText();
  if (module != "TBL" && module != "FIL") return Escape_XML_Text(c, query);
  std::string translated;
  if (code != "S") {
    std::string rewritten;
    if (!Replace_Empty_Default_Target(c, d.declarations, o.sapp, o.tapp, query, rewritten)) Raise(125);
    if (!Translate_Rule(c, d.declarations, rewritten, o.stbl, o.sapp, translated)) Raise(125);
    return Escape_XML_Text(c, translated);
  }
  const std::string* condition = d.splitConditions.Find(UCase(rs.Field("sflno").AsText()));
  if (condition != nullptr && !condition->empty()) {
    std::string formatted;
    Format_String(c, query, formatted);  // the legacy formatting has no trap of its own
    query = MergeSplitCondition(formatted, *condition);
  }
  if (!Translate_Select(c, query, o.sapp, o.stbl, translated)) Raise(125);
  return Escape_XML_Text(c, translated);
}

// Legacy: one element per source table, named after its file number, with
// one element per query code inside, codes in descending order; no line
// breaks between them.
bool LegacySourceTableTags(Component& c, const DocumentState& d, const MappingObject& o, std::string& text) {
  return Trapped(c, kLegacyTrap, [&] {
    Recordset rs = c.Query(SourceQueriesStatement(c, o));
    if (!rs.HasRow()) return true;
    std::string out, element;
    std::array<std::string, 3> previous;
    bool first = true;
    for (; !rs.Eof(); rs.MoveNext()) {
      const std::array<std::string, 3> source{rs.Field("scpac").AsText(), rs.Field("scmod").AsText(),
                                              rs.Field("sflno").AsText()};
      if (first || source != previous) {
        if (!first) out += "</" + element + ">";
        element = UCase(Replace(source[2], ".", "_"));
        out += "<" + element + ">";
        previous = source;
        first = false;
      }
      const std::string code = UCase(rs.Field("icod").AsText());
      out += "<" + code + ">" + LegacyQuery(c, d, o, rs, code) + "</" + code + ">";
    }
    out += "</" + element + ">";
    text = out;
    return true;
  });
}

}  // namespace

bool Construct_Source_Table_Tags(Component& c, DocumentState& d, const MappingObject& o, std::string& text) {
  return c.traits.kind == ClassKind::Legacy ? LegacySourceTableTags(c, d, o, text)
                                            : GeneratorSourceTableTags(c, d, o, text);
}

}  // namespace tqlm
