// The text functions of the automation runtime, over single-byte
// Windows-1252 strings: every position and length is a byte position, and
// positions are 1-based as in the original, so each step of an algorithm can
// be written one-to-one.
#pragma once

#include <tqlm/types.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tqlm {

inline constexpr std::string_view kCrLf = "\r\n";
inline constexpr std::string_view kCr = "\r";
inline constexpr std::string_view kLf = "\n";
inline constexpr std::string_view kTab = "\t";
inline constexpr std::string_view kQuote = "\"";

enum class Compare { Binary, Text };  // Text ignores letter case

long Len(std::string_view s);

// Position of `find` in `s` at or after `start` (1-based), 0 when absent.
// An empty `s` gives 0; an empty `find` gives `start` (0 when start > Len+1).
// A start below 1 raises error 5.
long InStr(long start, std::string_view s, std::string_view find, Compare compare = Compare::Binary);
inline long InStr(std::string_view s, std::string_view find, Compare compare = Compare::Binary) {
  return InStr(1, s, find, compare);
}
// Last position of `find` that starts at or before `start` (-1: from the end).
long InStrRev(std::string_view s, std::string_view find, long start = -1, Compare compare = Compare::Binary);

// Mid(s, start[, length]): the rest of the text from `start`, or `length`
// characters of it. A start below 1 or a negative length raises error 5.
std::string Mid(std::string_view s, long start);
std::string Mid(std::string_view s, long start, long length);
std::string Left(std::string_view s, long length);   // length < 0 raises 5
std::string Right(std::string_view s, long length);  // length < 0 raises 5

// Replace every occurrence; an empty `find` leaves the text as it is.
std::string Replace(std::string_view s, std::string_view find, std::string_view with,
                    Compare compare = Compare::Binary);
// Replace only the first occurrence.
std::string ReplaceFirst(std::string_view s, std::string_view find, std::string_view with,
                         Compare compare = Compare::Binary);

// Trim functions remove blanks (character 32) only, like the runtime's.
std::string Trim(std::string_view s);
std::string LTrim(std::string_view s);
std::string RTrim(std::string_view s);

// Split("", d) gives no pieces at all (an array with UBound -1); an empty
// delimiter gives the whole text as one piece.
std::vector<std::string> Split(std::string_view s, std::string_view delimiter, Compare compare = Compare::Binary);
std::string Join(const std::vector<std::string>& pieces, std::string_view delimiter);

// Upper/lower case of ASCII letters and of the Windows-1252 letters whose
// other case is also one Windows-1252 character; ß and µ stay.
std::string UCase(std::string_view s);
std::string LCase(std::string_view s);

std::string Space(long n);

// Assignment to a fixed-length string of `width` characters: cut, or padded
// with blanks.
inline std::string FixedLength(std::string_view s, std::size_t width) {
  std::string out(s.substr(0, width));
  out.resize(width, ' ');
  return out;
}

// Blanks, optional sign, digits with optional "," separators and at most one
// ".", optional exponent (E or D with optional sign); or &H / &O literals.
bool IsNumeric(std::string_view s);
// The value of a numeric text; raises 13 when !IsNumeric(s).
double CDbl(std::string_view s);
// The leading number of a text (blanks skipped), 0 when there is none.
double Val(std::string_view s);

// Numbers as text. CStr gives plain decimal ("12", "-3", "2.5"); Str gives a
// leading blank when the value is not negative (" 12").
std::string CStr(long long n);
std::string CStr(double d);  // up to 15 significant digits, no trailing zeros
std::string Str(long long n);

// An integer with "," thousands separators ("1,234").
std::string FormatGrouped(long long n);


}  // namespace tqlm
