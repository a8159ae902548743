#include "rules/select_translation.h"

#include <array>
#include <vector>

#include "core/error_trap.h"
#include "platform/text.h"
#include "rules/format_string.h"

namespace tqlm {

namespace {

constexpr std::string_view kQuoteEntity = "&quot;";
// Stand-ins while a statement is reworked: a double quote, and a "." inside
// a string literal.
constexpr std::string_view kQuoteMarker = "@@@";
constexpr std::string_view kDotMarker = "~~~";

bool IsBlockKeyword(const std::string& lower) {
  return lower == "selectdo" || lower == "selectempty" || lower == "selecteos" || lower == "selecterror" ||
         lower == "endselect";
}

// A token that opens a string literal which does not close in it.
bool OpensLiteral(const std::string& token) {
  const long first = InStr(token, kQuoteEntity);
  return first > 0 && first == InStrRev(token, kQuoteEntity);
}

// Copies tokens[j] and the tokens after it up to the one that closes the
// literal; returns the index of the last token copied.
std::size_t CopyLiteral(const std::vector<std::string>& tokens, std::size_t j, std::string& out) {
  out += tokens[j] + " ";
  while (++j < tokens.size()) {
    out += tokens[j] + " ";
    if (InStr(tokens[j], kQuoteEntity) > 0) break;
  }
  return j;
}

std::string Underscored(const std::string& word) { return Replace(Replace(word, ".", "_"), "$", ""); }

bool StartsWith(const std::string& text, std::string_view prefix) { return text.rfind(prefix, 0) == 0; }

// A dotted name outside a select: variables and names the declarations know
// get "_" for "."; other names lose "$" as well, numbers stay.
std::string RuleName(std::string_view declarations, const std::string& token) {
  const std::string lower = LCase(token);
  if (StartsWith(lower, "var.") || StartsWith(lower, "get.code")) return Replace(token, ".", "_");
  if (InStr(declarations, lower) == 0) return IsNumeric(token) ? token : Underscored(token);
  return Replace(token, ".", "_");
}

// The values of a one-column field query, each followed by ",".
std::string FieldList(Component& c, const Statement& statement) {
  std::string list;
  for (Recordset rs = c.Query(statement); !rs.Eof(); rs.MoveNext()) list += rs.Field(0L).AsText() + ",";
  return list;
}

std::string WithoutExtension(const std::string& table) {
  const long dot = InStrRev(table, ".");
  return dot > 0 ? Left(table, dot - 1) : table;
}

// The fields "*" or "t.*" stands for, from the file layouts of the source
// application. Every other word with a "*" is taken as t.*, t being the text
// before its first "*" less a "." that ends it: count(*) asks for the table
// "(", which names no file, and the word goes.
std::string ExpandStar(Component& c, const std::string& word, const std::string& tables, bool textFiles,
                       const std::string& appl) {
  std::string fields;
  if (word == "*") {
    for (const std::string& table : Split(tables, ",")) {
      if (textFiles) {
        const std::string t = WithoutExtension(table);
        fields += FieldList(c, " select  " + TextValue(t) + " + '_' + Replace(flna,'$','')  from qxlgy150  where  appl=" +
                                   TextValue(appl) + " and  flno = " + TextValue(t));
      } else {
        fields += FieldList(c, " select  " + TextValue(table) + " + '.' +  flna  + '  as ' + " +
                                   TextValue(Replace(table, ".", "_")) +
                                   " + '_' + Replace(flna,'$','')   from qxlgy150  where  appl=" + TextValue(appl) +
                                   " and  flno = " + TextValue(table));
      }
    }
  } else {
    std::string t = Left(word, InStr(word, "*") - 1);
    if (!t.empty() && t.back() == '.') t.pop_back();
    if (textFiles) {
      fields = FieldList(c, " select  " + TextValue(t) + " + '_' + Replace(flna,'$','') from qxlgy150  where  appl=" +
                                TextValue(appl) + " and   flno in(" + TextValue(t + ".txt") + "," +
                                TextValue(t + ".csv") + ") order by seqn");
    } else {
      fields = FieldList(c, " select  " + TextValue(t) + " + '.' +  flna  + '  as ' + " +
                                TextValue(Replace(t, ".", "_")) +
                                " + '_' + Replace(flna,'$','')  from qxlgy150  where  appl=" + TextValue(appl) +
                                " and  UPPER(flno) = UPPER(" + TextValue(t) + ")");
    }
  }
  if (!fields.empty()) fields.pop_back();
  return fields;
}

// Columns without an alias get one: t.amount as t_amount.
std::string WithAliases(const std::string& statement) {
  const std::string framed = " " + statement + " ";
  const std::string lower = LCase(framed);
  const long select = InStr(lower, " select ");
  const long from = InStr(lower, " from ");
  const std::string list = Replace(Replace(Mid(framed, select + 8, from - select - 8), "\r\n", " "), "\t", " ");
  std::vector<std::string> columns = Split(list, ",");
  for (std::string& column : columns) {
    const std::string l = LCase(column);
    if (InStr(l, " as ") == 0 && InStr(l, "var.") == 0) column = column + " as " + Replace(column, ".", "_");
  }
  std::string joined = Join(columns, ",");
  if (!joined.empty() && joined.back() == ',') joined.pop_back();
  return "select " + joined + " " + Mid(framed, from);
}

}  // namespace

bool Translate_Select(Component& c, std::string_view statement, std::string_view sourceApplication,
                      std::string_view /*framedContext: handed on, not read*/, std::string& translated) {
  return Trapped(c, kLegacyTrap, [&] {
    std::string formatted;
    if (!Format_String(c, statement, formatted)) Raise(125);
    const std::vector<std::string> parts = Split(Replace(formatted, kQuoteEntity, kQuoteMarker), kQuoteMarker);
    std::string rebuilt;
    for (std::size_t i = 0; i < parts.size(); ++i) {
      if (i > 0) rebuilt += std::string(kQuoteMarker);
      rebuilt += i % 2 == 1 ? Replace(parts[i], ".", kDotMarker) : parts[i];
    }

    // First walk: the tables of the from clauses.
    std::vector<std::string> words = Split(rebuilt, " ");
    bool inFrom = false;
    std::string files, plain;
    for (std::string& word : words) {
      const std::string lower = LCase(word);
      if (lower == "from") {
        inFrom = true;
      } else if (lower == "where" || lower == "group" || lower == "order" || lower == "selectdo" ||
                 lower == "selectempty" || lower == "selecterror" || lower == "endselect") {
        inFrom = false;
      } else if (lower == "select") {
      } else if (word == "\r\n" || word == "\t" || word == "\r" || word == "\n") {
        word = " ";
      } else if (inFrom) {
        if (InStr(word, ".txt") > 0 || InStr(word, ".csv") > 0) {
          word = "[" + Replace(Trim(word), ".", "#") + "]";
          files += word + ",";
        } else {
          plain += Trim(word);
        }
      }
    }
    const bool textFiles = InStr(files, "#txt") > 0 || InStr(files, "#csv") > 0;
    const std::string tables =
        textFiles ? Replace(Replace(Replace(files, "[", ""), "]", ""), "#", ".") : plain;

    // Second walk: "*" expanded, dotted names rewritten.
    const std::string appl(sourceApplication);
    std::string out;
    for (std::string word : words) {
      if (InStr(word, "*") > 0) {
        word = ExpandStar(c, word, tables, textFiles, appl);
      } else if (InStr(word, ".") > 0) {
        const std::string lower = LCase(word);
        if (StartsWith(lower, "var.")) {
          word = Underscored(word);  // a variable of the rule (var.str. included)
        } else if (const std::string qualifier = Left(word, InStr(word, ".") - 1);
                   !qualifier.empty() && InStr(tables, qualifier) == 0) {
          // A qualifier that is no table of this statement (the empty one
          // occurs in any list).
          word = Underscored(word);
        }
        if (textFiles) word = Replace(word, ".", "_");
      }
      out += word + " ";
    }
    if (!textFiles) out = WithAliases(out);
    translated = Replace(Replace(out, kDotMarker, "."), kQuoteMarker, kQuoteEntity);
    return true;
  });
}

bool Translate_Rule(Component& c, std::string_view declarations, std::string_view rule, std::string_view context,
                    std::string_view sourceApplication, std::string& translated) {
  return Trapped(c, kLegacyTrap, [&] {
    const std::string framed = " " + std::string(context) + " ";
    std::string formatted;
    if (!Format_String(c, rule, formatted)) Raise(125);
    const std::vector<std::string> tokens = Split(formatted, " ");
    std::string out;
    for (std::size_t j = 0; j < tokens.size(); ++j) {
      const std::string& token = tokens[j];
      if (OpensLiteral(token)) {
        j = CopyLiteral(tokens, j, out);
        continue;
      }
      if (InStr(token, ".") > 0) {
        out += RuleName(declarations, token) + " ";
        continue;
      }
      // "select case" and "end select" are no embedded selects.
      const auto opensSelect = [&] {
        if (LCase(token) != "select") return false;
        const std::string next = j + 1 < tokens.size() ? LCase(tokens[j + 1]) : std::string();
        const std::string previous = j >= 2 ? LCase(tokens[j - 1]) : std::string();
        return next != "case" && previous != "end";
      };
      if (opensSelect()) {
        // An embedded select, up to its block keyword.
        std::string statement;
        std::size_t k = j;
        for (; k < tokens.size() && !IsBlockKeyword(LCase(tokens[k])); ++k) statement += tokens[k] + " ";
        std::string select;
        if (!Translate_Select(c, statement, sourceApplication, framed, select)) Raise(125);
        const std::string keyword = k < tokens.size() ? tokens[k] : std::string();
        out += select + " " + keyword + " ";
        j = k;
        continue;
      }
      out += token + " ";
    }
    translated = out;
    return true;
  });
}

}  // namespace tqlm
