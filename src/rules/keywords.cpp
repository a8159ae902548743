#include "rules/keywords.h"

#include <algorithm>
#include <memory>

#include "dictionary/domains.h"
#include "core/error_trap.h"
#include "rules/field_details.h"
#include "platform/text.h"

namespace tqlm {

namespace {

// The rewriting procedures write their error lines whole; the legacy class
// adds a hint with the text it was given.
constexpr TrapStyle kReplaceTargetsTrap{"\t\tERROR:in Replace_Empty_Default_Target()  ErrNo.", ":", "",
                                        LogCall::WriteLine, true};
constexpr TrapStyle kReplaceEmptyDefaultTrap{"\t\tERROR:in Replace_Empty_Default()  ErrNo.", ":", "",
                                             LogCall::WriteLine, true};

std::string RewriteHint(const Component& c, std::string_view words, std::string_view input) {
  if (c.traits.kind != ClassKind::Legacy) return {};
  return "\r\n" + std::string(words) + std::string(input);
}

constexpr TrapStyle kReplaceTargetTrap{"\t\tERROR:in Replace_Target()  ErrNo.", ":", "", LogCall::WriteLine, true};

std::string RemoveBlanksAndTabs(std::string_view s) { return Replace(Replace(s, " ", ""), "\t", ""); }

// A rewrite whose result holds its own keyword again (a constant whose value
// names a target constant, a NOT FOUND comment that repeats an unclosed
// "target(", a variable named like the keyword call) would rewrite the text
// for ever, growing it each time. The bounds grow with the input: twice as
// many rewrites as the keyword occurs in it, and a text sixteen times its
// size, each above a floor that no real rule comes near; past them the
// rewriting ends as running out of memory would.
class RewriteBound {
 public:
  RewriteBound(std::string_view input, std::string_view keyword)
      : maxRewrites_(kMinRewrites + 2 * Occurrences(input, keyword)),
        maxSize_(std::max<std::size_t>(std::size_t{1} << 20, 16 * input.size())) {}
  void Count(const std::string& text) {
    if (++rewrites_ > maxRewrites_ || text.size() > maxSize_) Raise(kErrOutOfMemory);
  }

 private:
  static constexpr std::size_t kMinRewrites = 10000;
  // Occurrences of the keyword in any letter case.
  static std::size_t Occurrences(std::string_view text, std::string_view keyword) {
    const std::string lower = LCase(text);
    std::size_t count = 0;
    for (std::size_t at = lower.find(keyword); at != std::string::npos; at = lower.find(keyword, at + keyword.size()))
      ++count;
    return count;
  }
  std::size_t maxRewrites_;
  std::size_t maxSize_;
  std::size_t rewrites_ = 0;
};


// Every "target" followed, after nothing but blanks, by a parenthesised
// constant is replaced by the constant's value. Only the first search ignores
// letter case; the later ones are case-sensitive.
std::string ReplaceTargets(Component& c, std::string_view targetApplication, std::string text) {
  RewriteBound bound(text, "target");
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
        text.replace(static_cast<std::size_t>(pos - 1), static_cast<std::size_t>(close - pos + 1), value);
        bound.Count(text);
      }
    }
    if (wordEnd > Len(text)) break;
    pos = InStr(pos + 1, text, "target");
  }
  return text;
}

// The first line (split at line feeds) that contains `name`; nothing to
// find counts as found in any line that is not empty.
bool FirstLineContaining(std::string_view text, std::string_view name, std::string& line) {
  std::size_t at = name.empty() ? text.find_first_not_of('\n') : text.find(name);
  if (at == std::string_view::npos) return false;
  const std::size_t begin = at == 0 ? 0 : text.rfind('\n', at - 1) + 1;  // npos + 1 is 0
  const std::size_t end = text.find('\n', at);
  line = std::string(text.substr(begin, end == std::string_view::npos ? std::string_view::npos : end - begin));
  return true;
}

[[noreturn]] void NotDeclared(std::string_view name) {
  Raise(999, "Get_EmptyValuesForVariables",
        " Variable " + std::string(name) +
            " Not declared. Please declare the variable in Variable/include section of IQLM. ");
}

}  // namespace

bool Replace_Target(Component& c, std::string_view targetApplication, std::string_view text, std::string& result) {
  result.clear();
  return Trapped(c, kReplaceTargetTrap, [&] {
    // Tables of a legacy target application have no enumeration constants.
    result = c.run.legacyApplication ? std::string(text) : ReplaceTargets(c, targetApplication, std::string(text));
    return true;
  });
}

bool Replace_Empty_Default_Target(Component& c, std::string_view declarations, std::string_view sourceApplication,
                                  std::string_view targetApplication, std::string_view text,
                                  std::string& Return_String) {
  Return_String.clear();
  return Trapped(c, kReplaceTargetsTrap, [&] {
    std::string s;
    if (c.traits.kind == ClassKind::Legacy)
      Replace_Target(c, targetApplication, text, s);  // its result text is taken, its Boolean is not
    else
      s = ReplaceTargets(c, targetApplication, std::string(text));
    std::string rewritten;
    if (InStr(s, "empty") > 0) {
      if (!Replace_Empty_Default(c, declarations, sourceApplication, s, true, rewritten)) return false;
      s = rewritten;
    }
    if (InStr(s, "default") > 0) {
      if (!Replace_Empty_Default(c, declarations, sourceApplication, s, false, rewritten)) return false;
      s = rewritten;
    }
    Return_String = s;
    return true;
  }, RewriteHint(c, "Hint : for Rules : ", text));
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
    Recordset rs = c.Lookup("select cnst from qxddi230 where appl= " + TextValue(appl) +
                            " and cpac + cdom + '.' + ctnm  =" + TextValue(name));
    if (rs.HasRow())
      result = rs.Field("cnst").AsText();
    else
      result = std::string(text) + "| ENUM Constant " + name + " NOT FOUND in the DATA DICTIONARY";
  } catch (...) {
    // Unexpected errors give what was built so far, without a log line.
  }
  return result;
}

namespace {

// Finds line breaks and comment marks around keyword occurrences that come
// in increasing order in an unchanged text, without scanning any stretch of
// it twice (a text with many keywords on one long line stays linear).
class LineScanner {
 public:
  explicit LineScanner(const std::string& text) : text_(text) {}

  // The last line feed at or before `pos`, 0 when there is none.
  long LastBreakAtOrBefore(long pos) {
    if (scannedTo_ == 0) {
      const std::size_t found = text_.rfind('\n', static_cast<std::size_t>(pos - 1));
      lastBreak_ = found == std::string::npos ? 0 : static_cast<long>(found) + 1;
    } else {
      for (long i = scannedTo_ + 1; i <= pos; ++i)
        if (text_[static_cast<std::size_t>(i - 1)] == '\n') lastBreak_ = i;
    }
    scannedTo_ = pos;
    return lastBreak_;
  }
  // The first `mark` at or after `from`, 0 when there is none.
  long FirstBreakFrom(long from) { return First('\n', from, nextBreak_); }
  long FirstCommentFrom(long from, char comment) { return First(comment, from, nextComment_); }

 private:
  struct Found {
    long at = -1;  // -1: not searched yet
    long from = 0;
  };
  long First(char mark, long from, Found& found) {
    if (found.at < 0 || from < found.from || (found.at != 0 && from > found.at)) {
      found.at = InStr(from, text_, std::string_view(&mark, 1));
      found.from = from;
    }
    return found.at;
  }

  const std::string& text_;
  long scannedTo_ = 0;
  long lastBreak_ = 0;
  Found nextBreak_, nextComment_;
};

}  // namespace

bool Replace_Empty_Default(Component& c, std::string_view declarations, std::string_view sourceApplication,
                           std::string_view input, bool emptyMode, std::string& result) {
  const std::string keyword = emptyMode ? "empty" : "default";
  const std::string call = keyword + "()";
  const bool legacy = c.traits.kind == ClassKind::Legacy;
  // A comment runs from "|" (generator) or "'" (legacy) to the line end.
  const char kComment = legacy ? '\'' : '|';
  return Trapped(c, kReplaceEmptyDefaultTrap, [&] {
    std::string text(input);
    std::string lower = LCase(text);  // kept in step with `text`
    RewriteBound bound(text, keyword);
    auto scanner = std::make_unique<LineScanner>(text);
    long skipStart = 0, skipEnd = 0;  // a line known to hold no assignment of the call
    long pos = InStr(lower, keyword);
    while (pos != 0) {
      const long lineStart = std::max(scanner->LastBreakAtOrBefore(pos), 1L);
      long lineEnd = scanner->FirstBreakFrom(pos + 1);
      // Without a line feed after the keyword the line ends one character
      // before the end of the text.
      if (lineEnd == 0) lineEnd = Len(text);
      const long comment = scanner->FirstCommentFrom(pos, kComment);
      if (comment != 0 && comment < lineEnd) lineEnd = comment;
      if (lineStart == skipStart && lineEnd == skipEnd) {
        pos = InStr(pos + 1, lower, keyword);
        continue;
      }
      const std::string line = Mid(text, lineStart, lineEnd - lineStart);
      const long commentInLine = InStr(line, std::string_view(&kComment, 1));
      std::string statement = commentInLine > 0 ? Left(line, commentInLine - 1) : line;
      for (std::string_view gap : {"\r", "\n", "\t", " "}) statement = Replace(statement, gap, "");
      if (InStr(statement, "=") == 0 || InStr(LCase(statement), call) == 0) {
        // The same line gives the same answer for its next occurrences.
        skipStart = lineStart;
        skipEnd = lineEnd;
      } else {
        // The legacy engine has no empty or default values for variables.
        if (legacy)
          Raise(124, "", "empty,default keywords are not supported for user defined variables in non-tarsk profiles.");
        const std::string name = Left(statement, InStr(statement, "=") - 1);
        std::string value;
        if (Get_EmptyValuesForVariables(c, declarations, sourceApplication, name, value)) {
          statement = name + " = " + value;
          if (commentInLine > 0) statement += Mid(line, commentInLine);
          // The line makes way for the statement in place, in the text and in
          // its lower-case twin alike.
          const std::string replacement = " \r\n " + statement + " \r\n ";
          const auto at = static_cast<std::size_t>(lineStart - 1);
          const auto length = static_cast<std::size_t>(lineEnd - lineStart);
          text.replace(at, length, replacement);
          lower.replace(at, length, LCase(replacement));
          bound.Count(text);
          scanner = std::make_unique<LineScanner>(text);
          skipStart = skipEnd = 0;
        }
      }
      pos = InStr(pos + 1, lower, keyword);
    }
    result = text;
    return true;
  }, RewriteHint(c, "Hint : for rules ", input));
}

bool Get_EmptyValuesForVariables(Component& c, std::string_view declarations, std::string_view sourceApplication,
                                 std::string_view name, std::string& value) {
  if (Trim(declarations).empty()) NotDeclared(name);
  std::string declaration;
  if (!FirstLineContaining(declarations, name, declaration)) NotDeclared(name);

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
    value = EmptyStringValue(close > 0 ? Mid(item, open + 1, close - open - 1) : std::string("1"));
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
      value = EmptyStringValue(domain.length);
    else if (letter == "T")
      value = "utc(0,0,2)";
    else if (letter == "K")
      value = "utc(0,0)";
  }
  return true;
}

}  // namespace tqlm
