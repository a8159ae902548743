#include "rules/keywords.h"

#include "document/table_description.h"
#include "interface/error_trap.h"
#include "platform/text.h"

namespace tqlm {

namespace {

constexpr TrapStyle kReplaceTargetsTrap{"\t\tERROR:in Replace_Empty_Default_Target()  ErrNo.", ":", "",
                                        LogCall::WriteLine, true};
constexpr TrapStyle kReplaceEmptyDefaultTrap{"\t\tERROR:in Replace_Empty_Default()  ErrNo.", ":", "",
                                             LogCall::WriteLine, true};

std::string RemoveBlanksAndTabs(std::string_view s) { return Replace(Replace(s, " ", ""), "\t", ""); }

// A rewrite whose result holds its own keyword again (a constant whose value
// names a target constant, a variable named like the keyword call) would
// rewrite the text for ever, growing it each time. No real rule comes near
// this many rewrites; past it the rewriting ends as running out of memory
// would.
constexpr int kMaxRewrites = 10000;

void CountRewrite(int& rewrites) {
  if (++rewrites > kMaxRewrites) Raise(kErrOutOfMemory);
}

std::string StringSet(std::string_view length) { return "String.Set$(\" \"," + std::string(length) + ")"; }

// Every "target" followed, after nothing but blanks, by a parenthesised
// constant is replaced by the constant's value. Only the first search ignores
// letter case; the later ones are case-sensitive.
std::string ReplaceTargets(Component& c, std::string_view targetApplication, std::string text) {
  int rewrites = 0;
  long pos = InStr(LCase(text), "target");
  while (pos != 0) {
    const long open = InStr(pos, text, "(");
    if (open == 0) break;
    const long wordEnd = pos + 6;
    const long close = InStr(pos, text, ")");
    if (RemoveBlanksAndTabs(Mid(text, wordEnd, open - wordEnd)).empty() && close > 0) {
      const std::string token = Mid(text, open, close - open + 1);
      const std::string value = Get_Enum_Constant(c, targetApplication, token);
      if (!Trim(value).empty()) {
        text = Left(text, pos - 1) + value + Mid(text, close + 1);
        CountRewrite(rewrites);
      }
    }
    if (wordEnd > Len(text)) break;
    pos = InStr(pos + 1, text, "target");
  }
  return text;
}

[[noreturn]] void NotDeclared(std::string_view name) {
  Raise(999, "Get_EmptyValuesForVariables",
        " Variable " + std::string(name) +
            " Not declared. Please declare the variable in Variable/include section of IQLM. ");
}

}  // namespace

bool Replace_Empty_Default_Target(Component& c, std::string_view sourceApplication,
                                  std::string_view targetApplication, std::string_view text,
                                  std::string& Return_String) {
  Return_String.clear();
  return Trapped(c, kReplaceTargetsTrap, [&] {
    std::string s = ReplaceTargets(c, targetApplication, std::string(text));
    std::string rewritten;
    if (InStr(s, "empty") > 0) {
      if (!Replace_Empty_Default(c, sourceApplication, s, true, rewritten)) return false;
      s = rewritten;
    }
    if (InStr(s, "default") > 0) {
      if (!Replace_Empty_Default(c, sourceApplication, s, false, rewritten)) return false;
      s = rewritten;
    }
    Return_String = s;
    return true;
  });
}

std::string Get_Enum_Constant(Component& c, std::string_view appl, std::string_view text) {
  std::string result;
  try {
    // Positions are Integers in the original: a text beyond 32,767
    // characters overflows, which counts as an unexpected error here.
    const VbInteger p1 = CInt(InStr(text, "("));
    const VbInteger p2 = CInt(InStr(text, ")"));
    if (p2 == 0) return "0";
    const std::string name = Replace(Mid(text, p1 + 1, p2 - p1 - 1), " ", "");
    Recordset rs = c.repository.Open("select cnst from qxddi230 where appl= '" + std::string(appl) +
                                     "' and cpac + cdom + '.' + ctnm  ='" + name + "'");
    if (rs.HasRow())
      result = rs.Field("cnst").AsText();
    else
      result = std::string(text) + "| ENUM Constant " + name + " NOT FOUND in the DATA DICTIONARY";
  } catch (...) {
    // Unexpected errors give what was built so far, without a log line.
  }
  return result;
}

bool Replace_Empty_Default(Component& c, std::string_view sourceApplication, std::string_view input,
                           bool emptyMode, std::string& result) {
  const std::string keyword = emptyMode ? "empty" : "default";
  const std::string call = keyword + "()";
  constexpr std::string_view kComment = "|";
  return Trapped(c, kReplaceEmptyDefaultTrap, [&] {
    std::string text(input);
    std::string lower = LCase(text);  // kept in step with `text`
    int rewrites = 0;
    long pos = InStr(lower, keyword);
    while (pos != 0) {
      const std::size_t lastBreak = text.rfind('\n', static_cast<std::size_t>(pos - 1));
      const long lineStart = lastBreak == std::string::npos ? 1 : static_cast<long>(lastBreak) + 1;
      long lineEnd = InStr(pos + 1, text, "\n");
      // Without a line feed after the keyword the line ends one character
      // before the end of the text.
      if (lineEnd == 0) lineEnd = Len(text);
      const long comment = InStr(pos, text, kComment);
      if (comment != 0 && comment < lineEnd) lineEnd = comment;
      const std::string line = Mid(text, lineStart, lineEnd - lineStart);
      const long commentInLine = InStr(line, kComment);
      std::string statement = commentInLine > 0 ? Left(line, commentInLine - 1) : line;
      for (std::string_view gap : {"\r", "\n", "\t", " "}) statement = Replace(statement, gap, "");
      if (InStr(statement, "=") > 0 && InStr(LCase(statement), call) > 0) {
        const std::string name = Left(statement, InStr(statement, "=") - 1);
        std::string value;
        if (Get_EmptyValuesForVariables(c, sourceApplication, name, value)) {
          statement = name + " = " + value;
          if (commentInLine > 0) statement += Mid(line, commentInLine);
          text = Left(text, lineStart - 1) + " \r\n " + statement + " \r\n " + Mid(text, lineEnd);
          CountRewrite(rewrites);
          lower = LCase(text);
        }
      }
      pos = InStr(pos + 1, lower, keyword);
    }
    result = text;
    return true;
  });
}

bool Get_EmptyValuesForVariables(Component& c, std::string_view sourceApplication, std::string_view name,
                                 std::string& value) {
  const std::string& declarations = c.document.declarations;
  if (Trim(declarations).empty()) NotDeclared(name);
  std::string declaration;
  bool found = false;
  for (const std::string& line : Split(declarations, "\n")) {
    if (InStr(line, name) > 0) {
      declaration = line;
      found = true;
      break;
    }
  }
  if (!found) NotDeclared(name);

  for (std::string_view gap : {"\t", "\r", "\n"}) declaration = Replace(declaration, gap, " ");
  while (InStr(declaration, "  ") > 0) declaration = Replace(declaration, "  ", " ");
  const std::vector<std::string> words = Split(Trim(declaration), " ");
  const bool stored = !words.empty() && (LCase(words[0]) == "extern" || LCase(words[0]) == "static");
  const std::size_t typeIndex = stored ? 1 : 0;
  if (words.size() < typeIndex + 2) Raise(kErrSubscript);
  const std::string type = LCase(words[typeIndex]);
  const std::string& item = words[typeIndex + 1];

  if (type == "string") {
    const long open = InStr(item, "(");
    const long close = InStr(item, ")");
    value = StringSet(close > 0 ? Mid(item, open + 1, close - open - 1) : std::string("1"));
  } else if (type == "long") {
    value = "0";
  } else if (type == "double") {
    value = "0.0";
  } else if (type == "domain") {
    DomainDescription domain;
    if (!Construct_Domain_Tag(c, sourceApplication, item, domain)) return false;
    const std::string& letter = domain.type;
    if (letter == "B" || letter == "I" || letter == "L" || letter == "P" || letter == "U" || letter == "E")
      value = "0";
    else if (letter == "F" || letter == "D")
      value = "0.0";
    else if (letter == "S" || letter == "M")
      value = StringSet(domain.length);
    else if (letter == "T")
      value = "utc(0,0,2)";
    else if (letter == "K")
      value = "utc(0,0)";
  }
  return true;
}

}  // namespace tqlm
