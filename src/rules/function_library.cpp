#include "rules/function_library.h"

#include <algorithm>
#include <optional>

#include "platform/error.h"
#include "platform/text.h"

namespace tqlm {

namespace {

// The delimiters around keywords and names; the second set lets a table name
// hold a ".".
constexpr std::string_view kDelimiters = " ~!@#$%^&*()`?'\\|.,[]{}<>-\"\t\r\n";
constexpr std::string_view kNameDelimiters = " ~!@#$%^&*()`?'\\|,[]{}<>-\"\t\r\n";

bool IsDelimiter(char ch) { return kDelimiters.find(ch) != std::string_view::npos; }

// Blanks from `at` (0-based) on.
std::size_t SkipBlanks(std::string_view text, std::size_t at) {
  while (at < text.size() && text[at] == ' ') ++at;
  return at;
}

// The characters from `at` up to the first of `delimiters`.
std::string ReadName(std::string_view text, std::size_t& at, std::string_view delimiters) {
  const std::size_t begin = at;
  while (at < text.size() && delimiters.find(text[at]) == std::string_view::npos) ++at;
  return std::string(text.substr(begin, at - begin));
}

// "<name>" after an include keyword that ends before `at`; empty when the
// brackets are missing.
std::string Get_Include_Name(std::string_view text, std::size_t at) {
  at = SkipBlanks(text, at);
  if (at >= text.size() || text[at] != '<') return {};
  at = SkipBlanks(text, at + 1);
  std::string name = ReadName(text, at, kDelimiters);
  at = SkipBlanks(text, at);
  return at < text.size() && text[at] == '>' ? name : std::string();
}

// Removes the line of a declaration from `pos` (1-based) up to the next CR,
// else the next LF, else the end.
void RemoveDeclaration(std::string& text, long pos) {
  long end = InStr(pos, text, "\r");
  if (end == 0) end = InStr(pos, text, "\n");
  text = Left(text, pos - 1) + (end == 0 ? std::string() : Mid(text, end));
}

void AddTables(std::string& tables, const std::string& more) {
  if (Trim(more).empty()) return;
  tables = Trim(tables).empty() ? more : tables + " , " + more;
}

[[noreturn]] void NoSuchFunction(const std::string& name) {
  Raise(1000, "", name + "Function does not exist in the function repository.");
}

}  // namespace

long Find_Keyword(std::string_view text, std::string_view keyword, long start) {
  for (long pos = InStr(start, text, keyword, Compare::Text); pos > 0;
       pos = InStr(pos + 1, text, keyword, Compare::Text)) {
    const std::size_t at = static_cast<std::size_t>(pos - 1);
    const std::size_t lineStart = [&] {
      const std::size_t br = at == 0 ? std::string_view::npos : text.find_last_of("\r\n", at - 1);
      return br == std::string_view::npos ? std::size_t{0} : br + 1;
    }();
    const std::string_view before = text.substr(lineStart, at - lineStart);
    if (before.find('\'') != std::string_view::npos) continue;  // in a comment
    if (std::count(before.begin(), before.end(), '"') % 2 != 0) continue;  // in a string literal
    if (at > 0 && !IsDelimiter(text[at - 1])) continue;
    const std::size_t after = at + keyword.size();
    if (after < text.size() && !IsDelimiter(text[after])) continue;
    return pos;
  }
  return 0;
}

void Get_Table_Declarations(std::string& definition, std::string& tables) {
  for (long pos = Find_Keyword(definition, "table", 1); pos > 0; pos = Find_Keyword(definition, "table", 1)) {
    std::size_t at = SkipBlanks(definition, static_cast<std::size_t>(pos - 1) + 5);
    const std::string name = ReadName(definition, at, kNameDelimiters);
    if (name.empty()) Raise(1000, "", "Tablename missing in table declaration.");
    AddTables(tables, name);
    RemoveDeclaration(definition, pos);
  }
}

std::string Get_Function_Definition(Component& c, const std::string& name, std::string& tables) {
  if (name.empty()) return {};
  try {
    Statement related;
    for (const std::string& number : Split(c.run.relatedProfiles, ",")) {
      if (!related.Empty()) related += ",";
      related += NumberValue(Value::Text(number));
    }
    Recordset owners = c.Lookup("select mprf from qxlib100 where upper(fnam) = upper(" + TextValue(name) +
                                ") and mprf in (" + related + ") order by mprf desc");
    if (!owners.HasRow()) NoSuchFunction(name);
    const BoundValue profile = NumberValue(owners.Field("mprf"));
    std::string version, alternative;
    bool checkedOut = false;
    {
      Recordset rs = c.Lookup("select vers+rele+cust,scme from qxmap100 where mprf = " + profile);
      if (rs.HasRow()) {
        version = rs.Field(0L).AsText();
        checkedOut = rs.Field(1L).AsText() == "Y";
      }
    }
    if (checkedOut) {
      Recordset rs = c.Lookup("select dver+drel+dcus from qxmap105 where mprf = " + profile);
      if (rs.HasRow()) alternative = rs.Field(0L).AsText();
    }
    auto lookup = [&](const std::string& triple) {
      return c.Lookup("select * from qxlib100 where mprf = " + profile + " and vers+rele+cust=" + TextValue(triple) +
                      " and upper(fnam) = upper(" + TextValue(name) + ")");
    };
    std::optional<std::string> definition;
    if (!alternative.empty() && IsTrue(c.settings.considerCheckedOutVersions)) {
      Recordset rs = lookup(alternative);
      if (rs.HasRow() && !rs.Field("fdef").IsNull()) definition = rs.Field("fdef").AsText();
    }
    if (!definition) {
      Recordset rs = lookup(version);
      if (!rs.HasRow()) NoSuchFunction(name);
      definition = rs.Field("fdef").AsText();
    }
    if (!definition->empty()) Get_Table_Declarations(*definition, tables);
    return *definition;
  } catch (...) {
    NoSuchFunction(name);
  }
}

void Process_Includes(Component& c, std::string& text, std::string& functions, std::string& tables) {
  constexpr std::string_view kKeyword = "#include";
  functions.clear();
  for (long pos = Find_Keyword(text, kKeyword, 1); pos > 0; pos = Find_Keyword(text, kKeyword, 1)) {
    const std::string name = Get_Include_Name(text, static_cast<std::size_t>(pos - 1) + kKeyword.size());
    if (name.empty()) Raise(1000, "", "Function name missing");
    std::string declared;
    functions += "\r\n" + Get_Function_Definition(c, name, declared);
    AddTables(tables, declared);
    RemoveDeclaration(text, pos);
  }
}

}  // namespace tqlm
