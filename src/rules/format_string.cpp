#include "rules/format_string.h"

#include "core/error_trap.h"
#include "platform/text.h"

namespace tqlm {

namespace {

constexpr std::string_view kBreakMarker = "!~!";  // one line break while the text is reworked
constexpr std::string_view kFramedBreak = " \r\n ";

[[noreturn]] void UnclosedQuote() { Raise(124, "XML Generation", "Closing double quotes missing."); }

std::string PrepareGenerator(std::string_view text) {
  std::string s = " " + std::string(text) + " \r\n";
  s = Replace(s, "\t", " \t ");
  s = Replace(s, "\n", kBreakMarker);
  s = Replace(s, "\r", kBreakMarker);
  return Replace(s, kBreakMarker, kFramedBreak);
}

std::string PrepareLegacy(std::string_view text) {
  std::string s = " " + std::string(text) + "\r\n ";
  s = Replace(s, "|", " | ");
  s = Replace(s, "\t", " \t ");
  s = Replace(s, "\n", kBreakMarker);
  s = Replace(s, "\r", kBreakMarker);
  // Escapes already in the text are undone, so that they are escaped once.
  s = Replace(s, "&quot;", "\"");
  s = Replace(s, "&amp;", "&");
  s = Replace(s, "&lt;", "<");
  s = Replace(s, "&gt;", ">");
  const std::string doubled = std::string(kBreakMarker) + std::string(kBreakMarker);
  while (InStr(s, doubled) > 0) s = Replace(s, doubled, kBreakMarker);
  return Replace(s, kBreakMarker, kFramedBreak);
}

// Forward pass: a blank in front of every run of delimiters outside string
// literals, and runs of blanks halved.
std::string ForwardPass(const Component& c, const std::string& s) {
  std::string out;
  out.reserve(s.size() + s.size() / 4);
  char previous = '\0';
  for (std::size_t i = 0; i < s.size(); ++i) {
    const char ch = s[i];
    if (ch == '"') {
      // Copied unchanged up to the closing quote or the start of a line break.
      out += ch;
      std::size_t j = i + 1;
      while (j < s.size() && s[j] != '"' && !(s[j] == '\r' && j + 1 < s.size() && s[j + 1] == '\n')) out += s[j++];
      if (j >= s.size()) {
        if (c.traits.rejectsUnclosedQuote) UnclosedQuote();
        break;
      }
      out += s[j];
      previous = s[j];
      i = j;
      continue;
    }
    if (ch == ' ') {
      if (i + 1 < s.size() && s[i + 1] == ' ') ++i;
      out += ' ';
    } else if (Is_Delimiter(c, ch) && !Is_Delimiter(c, previous)) {
      out += ' ';
      out += ch;
    } else {
      out += ch;
    }
    previous = ch;
  }
  return out;
}

// Backward pass: a blank after every run of delimiters outside literals.
std::string BackwardPass(const Component& c, const std::string& s) {
  std::string reversed;  // built back to front, then turned round
  reversed.reserve(s.size() + s.size() / 4);
  std::size_t i = s.size();
  while (i > 1) {  // down to the second character
    const char ch = s[i - 1];
    if (ch == '"') {
      // Skip back to the opening quote, or to a line break.
      reversed += ch;
      std::size_t j = i - 1;
      bool closed = false;
      while (j > 0) {
        const char back = s[j - 1];
        if (back == '"') {
          reversed += back;
          --j;
          closed = true;
          break;
        }
        if (back == '\n' && j >= 2 && s[j - 2] == '\r') {
          closed = true;
          break;
        }
        reversed += back;
        --j;
      }
      if (!closed && c.traits.rejectsUnclosedQuote) UnclosedQuote();
      i = j;
      continue;
    }
    const bool rightIsDelimiter = i < s.size() && Is_Delimiter(c, s[i]);
    if (Is_Delimiter(c, ch) && !rightIsDelimiter) reversed += ' ';
    reversed += ch;
    --i;
  }
  if (i == 1) reversed += s[0];
  return std::string(reversed.rbegin(), reversed.rend());
}

std::string UpToLastLineBreak(const std::string& s) {
  long last = InStrRev(s, "\r\n");
  return last > 0 ? Left(s, last - 1) : s;
}

void CollapseEmptyLines(std::string& s) {
  while (InStr(s, "\r\n\r\n") > 0) s = Trim(Replace(s, "\r\n\r\n", "\r\n"));
}

// Blanks at the start of every line go, and the text is trimmed: what
// replacing CR LF + blank by CR LF and trimming does when repeated until no
// line starts with a blank, in one pass.
std::string WithoutIndentation(const std::string& s) {
  if (InStr(s, "\r\n ") == 0) return s;
  std::string out;
  out.reserve(s.size());
  bool afterBreak = false;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const char ch = s[i];
    if (afterBreak && ch == ' ') continue;
    afterBreak = ch == '\n' && i > 0 && s[i - 1] == '\r';
    out += ch;
  }
  return Trim(out);
}

std::string FinishGenerator(std::string s) {
  s = Replace(s, ". *", ".*");
  s = WithoutIndentation(s);
  CollapseEmptyLines(s);
  s = Replace(s, "\r\n", kFramedBreak);
  s = Replace(Replace(Replace(s, "&", "&amp;"), "<", "&lt;"), ">", "&gt;");
  return UpToLastLineBreak(s);
}

std::string FinishLegacy(std::string s) {
  s = Replace(s, "\r\n ", "\r\n");
  CollapseEmptyLines(s);
  s = Replace(s, "\r\n", kFramedBreak);
  s = UpToLastLineBreak(s);
  s = Replace(s, ". *,", ".* ,");
  s = Replace(s, ". *", ".*");
  s = Replace(s, "&", "&amp;");
  s = Replace(s, "<", "&lt;");
  s = Replace(s, ">", "&gt;");
  s = Replace(s, "\"", "&quot;");
  // Blanks the passes put inside entities are taken out again.
  s = Replace(s, "& quot;", "&quot;");
  s = Replace(s, "& amp;", "&amp;");
  s = Replace(s, "& lt;", "&lt;");
  return Replace(s, "& gt;", "&gt;");
}

std::string Format(const Component& c, std::string_view text) {
  const bool legacy = c.traits.kind == ClassKind::Legacy;
  std::string s = legacy ? PrepareLegacy(text) : PrepareGenerator(text);
  s = BackwardPass(c, ForwardPass(c, s));
  return legacy ? FinishLegacy(std::move(s)) : FinishGenerator(std::move(s));
}

}  // namespace

bool Is_Delimiter(const Component& c, char ch) {
  if (ch == '\0') return false;
  return c.traits.delimiters.find(ch) != std::string_view::npos;
}

bool Format_String(Component& c, std::string_view text, std::string& formatted) {
  if (c.traits.formatStringTrap == nullptr) {
    formatted = Format(c, text);
    return true;
  }
  return Trapped(c, *c.traits.formatStringTrap, [&] {
    formatted = Format(c, text);
    return true;
  });
}

}  // namespace tqlm
