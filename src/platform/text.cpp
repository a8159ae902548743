#include "platform/text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <limits>
#include <system_error>

#include "platform/error.h"
#include "platform/vb_types.h"

namespace tqlm {

namespace {

constexpr std::size_t kNpos = std::string_view::npos;

// ---------------------------------------------------------------------------
// Letter case over Windows-1252

// Lower-case bytes whose upper case is one other Windows-1252 byte.
constexpr bool HasUpperForm(unsigned char c) {
  if (c >= 'a' && c <= 'z') return true;
  if (c == 0x9A || c == 0x9C || c == 0x9E || c == 0xFF) return true;  // š œ ž ÿ
  return c >= 0xE0 && c <= 0xFE && c != 0xF7;                          // à..þ except ÷
}

constexpr unsigned char UpperOf(unsigned char lower) {
  if (lower == 0xFF) return 0x9F;  // ÿ -> Ÿ sits apart from the Latin-1 block
  if (lower >= 0x9A && lower <= 0x9E) return static_cast<unsigned char>(lower - 0x10);
  return static_cast<unsigned char>(lower - 0x20);
}

struct CaseTables {
  std::array<char, 256> upper{};
  std::array<char, 256> lower{};
};

constexpr CaseTables MakeCaseTables() {
  CaseTables tables;
  for (int i = 0; i < 256; ++i) {
    tables.upper[i] = static_cast<char>(i);
    tables.lower[i] = static_cast<char>(i);
  }
  for (int i = 0; i < 256; ++i) {
    auto c = static_cast<unsigned char>(i);
    if (!HasUpperForm(c)) continue;
    unsigned char up = UpperOf(c);
    tables.upper[c] = static_cast<char>(up);
    tables.lower[up] = static_cast<char>(c);
  }
  return tables;
}

constexpr CaseTables kCase = MakeCaseTables();

char ToUpper(char c) { return kCase.upper[static_cast<unsigned char>(c)]; }
char ToLower(char c) { return kCase.lower[static_cast<unsigned char>(c)]; }

std::string MapBytes(std::string_view s, char (*map)(char)) {
  std::string out(s.size(), '\0');
  for (std::size_t i = 0; i < s.size(); ++i) out[i] = map(s[i]);
  return out;
}

// ---------------------------------------------------------------------------
// Searching

// Text as it is searched: folded to upper case for Compare::Text, so that a
// position found in the folded copy is the position in the original.
class SearchText {
 public:
  SearchText(std::string_view s, Compare compare) : view_(s) {
    if (compare == Compare::Text) {
      folded_ = UCase(s);
      view_ = folded_;
    }
  }
  SearchText(const SearchText&) = delete;
  SearchText& operator=(const SearchText&) = delete;
  std::string_view view() const { return view_; }

 private:
  std::string folded_;
  std::string_view view_;
};

// 0-based offset of the first `find` at or after `from`, kNpos when absent.
std::size_t FindFrom(std::string_view s, std::string_view find, std::size_t from, Compare compare) {
  SearchText hay(s, compare);
  SearchText needle(find, compare);
  return hay.view().find(needle.view(), from);
}

std::string ReplaceOccurrences(std::string_view s, std::string_view find, std::string_view with, Compare compare,
                               bool first_only) {
  if (find.empty() || s.empty()) return std::string(s);
  SearchText hay(s, compare);
  SearchText needle(find, compare);
  std::string out;
  out.reserve(s.size());
  std::size_t copied = 0;
  for (std::size_t at = hay.view().find(needle.view()); at != kNpos; at = hay.view().find(needle.view(), copied)) {
    out.append(s.substr(copied, at - copied)).append(with);
    copied = at + find.size();
    if (first_only) break;
  }
  out.append(s.substr(copied));
  return out;
}

std::size_t TrimmedBegin(std::string_view s) {
  std::size_t begin = s.find_first_not_of(' ');
  return begin == kNpos ? s.size() : begin;
}

std::size_t TrimmedEnd(std::string_view s) {
  std::size_t last = s.find_last_not_of(' ');
  return last == kNpos ? 0 : last + 1;
}

// ---------------------------------------------------------------------------
// Numbers from text

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

enum class Conversion { Ok, NotNumeric, Overflow };

struct Number {
  Conversion status = Conversion::NotNumeric;
  double value = 0;
};

// A decimal number found at the start of a text, rewritten in the plain form
// std::from_chars reads: "-1234.5e-7" (separators dropped, D exponent as e).
struct DecimalScan {
  std::size_t end = 0;  // bytes consumed
  bool has_digits = false;
  std::string plain;
};

std::size_t ScanDigits(std::string_view s, std::size_t pos, std::string& plain) {
  while (pos < s.size() && IsDigit(s[pos])) plain.push_back(s[pos++]);
  return pos;
}

// Integer part; with separators, a "," counts only between digits (a
// trailing run of commas is left unread).
std::size_t ScanIntegerPart(std::string_view s, std::size_t pos, bool separators, std::string& plain) {
  std::size_t end = pos;
  while (pos < s.size()) {
    if (IsDigit(s[pos])) {
      plain.push_back(s[pos++]);
      end = pos;
    } else if (separators && s[pos] == ',' && pos > 0 && (IsDigit(s[pos - 1]) || s[pos - 1] == ',')) {
      ++pos;
    } else {
      break;
    }
  }
  return end;
}

// Exponent: E or D, optional sign, at least one digit; nothing is read when
// the digits are missing.
std::size_t ScanExponent(std::string_view s, std::size_t pos, std::string& plain) {
  if (pos >= s.size()) return pos;
  char marker = s[pos];
  if (marker != 'e' && marker != 'E' && marker != 'd' && marker != 'D') return pos;
  std::size_t digits_at = pos + 1;
  std::string exponent = "e";
  if (digits_at < s.size() && (s[digits_at] == '+' || s[digits_at] == '-')) {
    if (s[digits_at] == '-') exponent.push_back('-');
    ++digits_at;
  }
  std::size_t end = ScanDigits(s, digits_at, exponent);
  if (end == digits_at) return pos;
  plain.append(exponent);
  return end;
}

DecimalScan ScanDecimal(std::string_view s, bool separators) {
  DecimalScan scan;
  std::size_t pos = 0;
  if (pos < s.size() && (s[pos] == '+' || s[pos] == '-')) {
    if (s[pos] == '-') scan.plain.push_back('-');
    ++pos;
  }
  std::size_t mantissa_at = scan.plain.size();
  pos = ScanIntegerPart(s, pos, separators, scan.plain);
  if (pos < s.size() && s[pos] == '.') {
    scan.plain.push_back('.');
    pos = ScanDigits(s, pos + 1, scan.plain);
  }
  for (std::size_t i = mantissa_at; i < scan.plain.size(); ++i) scan.has_digits |= IsDigit(scan.plain[i]);
  if (!scan.has_digits) return scan;
  scan.end = ScanExponent(s, pos, scan.plain);
  return scan;
}

// The exponent of a plain number, clamped when it does not even fit a long.
long ExponentOf(std::string_view plain) {
  std::size_t e = plain.find('e');
  if (e == kNpos) return 0;
  long exponent = 0;
  auto [ptr, ec] = std::from_chars(plain.data() + e + 1, plain.data() + plain.size(), exponent);
  if (ec == std::errc::result_out_of_range) {
    long limit = std::numeric_limits<long>::max() / 2;
    return plain[e + 1] == '-' ? -limit : limit;
  }
  return exponent;
}

// The decimal exponent of the leading significant digit of a plain number,
// used only to tell overflow from underflow when from_chars reports a range
// error.
long LeadingMagnitude(std::string_view plain) {
  std::string_view mantissa = plain.substr(0, plain.find('e'));
  std::size_t first = mantissa.find_first_of("123456789");
  if (first == kNpos) return std::numeric_limits<long>::min();
  std::size_t point = mantissa.find('.');
  if (point == kNpos) point = mantissa.size();
  long position = first < point ? static_cast<long>(point - first) : -static_cast<long>(first - point - 1);
  return ExponentOf(plain) + position;
}

Number ConvertPlain(const std::string& plain) {
  double value = 0;
  auto [ptr, ec] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
  if (ec == std::errc::result_out_of_range) {
    if (LeadingMagnitude(plain) > 0) return {Conversion::Overflow, 0};
    return {Conversion::Ok, 0};
  }
  if (ec != std::errc() || ptr != plain.data() + plain.size()) return {Conversion::NotNumeric, 0};
  return {Conversion::Ok, value};
}

int RadixOf(char marker) {
  if (marker == 'h' || marker == 'H') return 16;
  if (marker == 'o' || marker == 'O') return 8;
  return 0;
}

// "&H1F" / "&O17" at the start of `s`. Like the runtime, a value that fits
// in 16 bits is read as an Integer bit pattern (&HFFFF is -1) and one that
// fits in 32 bits as a Long bit pattern; a wider one overflows.
Number ScanRadixLiteral(std::string_view s, std::size_t& end) {
  end = 0;
  if (s.size() < 3 || s[0] != '&') return {};
  int radix = RadixOf(s[1]);
  if (radix == 0) return {};
  unsigned long long bits = 0;
  auto [ptr, ec] = std::from_chars(s.data() + 2, s.data() + s.size(), bits, radix);
  if (ptr == s.data() + 2) return {};
  end = static_cast<std::size_t>(ptr - s.data());
  if (ec == std::errc::result_out_of_range || bits > 0xFFFFFFFFull) return {Conversion::Overflow, 0};
  if (bits <= 0xFFFF) return {Conversion::Ok, static_cast<double>(static_cast<std::int16_t>(bits))};
  return {Conversion::Ok, static_cast<double>(static_cast<std::int32_t>(bits))};
}

// The value of a whole numeric text (surrounding blanks allowed).
Number ParseNumericText(std::string_view s) {
  std::string_view body = s.substr(0, TrimmedEnd(s));
  body.remove_prefix(TrimmedBegin(body));
  if (body.empty()) return {};
  if (body[0] == '&') {
    std::size_t end = 0;
    Number number = ScanRadixLiteral(body, end);
    return end == body.size() ? number : Number{};
  }
  DecimalScan scan = ScanDecimal(body, true);
  if (!scan.has_digits || scan.end != body.size()) return {};
  return ConvertPlain(scan.plain);
}

// ---------------------------------------------------------------------------
// Numbers as text

// Decimal digits and exponent of a double rounded to 15 significant digits.
struct Rounded {
  bool negative = false;
  std::string digits;  // no trailing zeros, at least one digit
  int exponent = 0;    // of the first digit
};

Rounded RoundTo15Digits(double d) {
  char buffer[64];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, d, std::chars_format::scientific, 14);
  std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
  Rounded rounded;
  if (text.front() == '-') {
    rounded.negative = true;
    text.remove_prefix(1);
  }
  std::size_t e = text.find('e');
  for (char c : text.substr(0, e))
    if (IsDigit(c)) rounded.digits.push_back(c);
  std::string_view exponent = text.substr(e + 1);
  if (exponent.front() == '+') exponent.remove_prefix(1);
  std::from_chars(exponent.data(), exponent.data() + exponent.size(), rounded.exponent);
  std::size_t last = rounded.digits.find_last_not_of('0');
  rounded.digits.erase(last == kNpos ? 1 : last + 1);
  return rounded;
}

std::string ScientificText(const Rounded& r) {
  std::string out;
  out.reserve(r.digits.size() + 8);
  if (r.negative) out.push_back('-');
  out.push_back(r.digits[0]);
  if (r.digits.size() > 1) out.append(".").append(r.digits, 1);
  out.append(r.exponent < 0 ? "E-" : "E+");
  int magnitude = std::abs(r.exponent);
  if (magnitude < 10) out.push_back('0');
  out.append(std::to_string(magnitude));
  return out;
}

std::string FixedText(const Rounded& r) {
  std::string out;
  out.reserve(r.digits.size() + 24);
  if (r.negative) out.push_back('-');
  if (r.exponent < 0) {
    out.append("0.").append(static_cast<std::size_t>(-r.exponent - 1), '0').append(r.digits);
    return out;
  }
  auto integer_digits = static_cast<std::size_t>(r.exponent) + 1;
  if (r.digits.size() <= integer_digits) {
    out.append(r.digits).append(integer_digits - r.digits.size(), '0');
  } else {
    out.append(r.digits, 0, integer_digits).append(".").append(r.digits, integer_digits);
  }
  return out;
}

}  // namespace

long Len(std::string_view s) { return static_cast<long>(s.size()); }

long InStr(long start, std::string_view s, std::string_view find, Compare compare) {
  if (start < 1) Raise(kErrInvalidCall);
  if (s.empty()) return 0;
  if (start > Len(s) + 1) return 0;
  if (find.empty()) return start;
  std::size_t at = FindFrom(s, find, static_cast<std::size_t>(start - 1), compare);
  return at == kNpos ? 0 : static_cast<long>(at) + 1;
}

// As in the runtime, the match has to lie wholly within the first `start`
// characters.
long InStrRev(std::string_view s, std::string_view find, long start, Compare compare) {
  if (start == 0 || start < -1) Raise(kErrInvalidCall);
  if (start == -1) start = Len(s);
  if (s.empty() || start > Len(s)) return 0;
  if (find.empty()) return start;
  if (static_cast<std::size_t>(start) < find.size()) return 0;
  SearchText hay(s.substr(0, static_cast<std::size_t>(start)), compare);
  SearchText needle(find, compare);
  std::size_t at = hay.view().rfind(needle.view());
  return at == kNpos ? 0 : static_cast<long>(at) + 1;
}

std::string Mid(std::string_view s, long start) {
  if (start < 1) Raise(kErrInvalidCall);
  if (start > Len(s)) return {};
  return std::string(s.substr(static_cast<std::size_t>(start - 1)));
}

std::string Mid(std::string_view s, long start, long length) {
  if (start < 1 || length < 0) Raise(kErrInvalidCall);
  if (start > Len(s)) return {};
  return std::string(s.substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(length)));
}

std::string Left(std::string_view s, long length) {
  if (length < 0) Raise(kErrInvalidCall);
  return std::string(s.substr(0, static_cast<std::size_t>(length)));
}

std::string Right(std::string_view s, long length) {
  if (length < 0) Raise(kErrInvalidCall);
  std::size_t count = std::min(s.size(), static_cast<std::size_t>(length));
  return std::string(s.substr(s.size() - count));
}

std::string Replace(std::string_view s, std::string_view find, std::string_view with, Compare compare) {
  return ReplaceOccurrences(s, find, with, compare, false);
}

std::string ReplaceFirst(std::string_view s, std::string_view find, std::string_view with, Compare compare) {
  return ReplaceOccurrences(s, find, with, compare, true);
}

std::string Trim(std::string_view s) {
  std::string_view left_trimmed = s.substr(TrimmedBegin(s));
  return std::string(left_trimmed.substr(0, TrimmedEnd(left_trimmed)));
}

std::string LTrim(std::string_view s) { return std::string(s.substr(TrimmedBegin(s))); }

std::string RTrim(std::string_view s) { return std::string(s.substr(0, TrimmedEnd(s))); }

std::vector<std::string> Split(std::string_view s, std::string_view delimiter, Compare compare) {
  std::vector<std::string> pieces;
  if (s.empty()) return pieces;
  if (delimiter.empty()) {
    pieces.emplace_back(s);
    return pieces;
  }
  // Text compare searches an upper-cased copy; positions are the same.
  const std::string folded = compare == Compare::Text ? UCase(s) : std::string();
  const std::string foldedDelimiter = compare == Compare::Text ? UCase(delimiter) : std::string();
  const std::string_view haystack = compare == Compare::Text ? std::string_view(folded) : s;
  const std::string_view needle = compare == Compare::Text ? std::string_view(foldedDelimiter) : delimiter;
  std::size_t begin = 0;
  for (std::size_t at = haystack.find(needle); at != kNpos; at = haystack.find(needle, begin)) {
    pieces.emplace_back(s.substr(begin, at - begin));
    begin = at + delimiter.size();
  }
  pieces.emplace_back(s.substr(begin));
  return pieces;
}

std::string Join(const std::vector<std::string>& pieces, std::string_view delimiter) {
  std::size_t total = 0;
  for (const auto& piece : pieces) total += piece.size() + delimiter.size();
  std::string out;
  out.reserve(total);
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    if (i > 0) out.append(delimiter);
    out.append(pieces[i]);
  }
  return out;
}

std::string UCase(std::string_view s) { return MapBytes(s, ToUpper); }

std::string LCase(std::string_view s) { return MapBytes(s, ToLower); }

std::string Space(long n) {
  if (n < 0) Raise(kErrInvalidCall);
  return std::string(static_cast<std::size_t>(n), ' ');
}

bool IsNumeric(std::string_view s) { return ParseNumericText(s).status == Conversion::Ok; }

double CDbl(std::string_view s) {
  Number number = ParseNumericText(s);
  if (number.status == Conversion::NotNumeric) Raise(kErrTypeMismatch);
  if (number.status == Conversion::Overflow) Raise(kErrOverflow);
  return number.value;
}

// The runtime drops blanks, tabs and line feeds anywhere before reading the
// number, so " 1 2" reads as 12.
double Val(std::string_view s) {
  std::string text;
  text.reserve(s.size());
  for (char c : s)
    if (c != ' ' && c != '\t' && c != '\n') text.push_back(c);
  Number number;
  if (!text.empty() && text[0] == '&') {
    std::size_t end = 0;
    number = ScanRadixLiteral(text, end);
  } else {
    DecimalScan scan = ScanDecimal(text, false);
    if (scan.has_digits) number = ConvertPlain(scan.plain);
  }
  if (number.status == Conversion::Overflow) Raise(kErrOverflow);
  return number.status == Conversion::Ok ? number.value : 0.0;
}

std::string CStr(long long n) { return std::to_string(n); }

std::string CStr(double d) {
  if (d == 0) return "0";
  if (!std::isfinite(d)) {
    char buffer[32];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, d);
    return std::string(buffer, result.ptr);
  }
  Rounded rounded = RoundTo15Digits(d);
  bool scientific = rounded.exponent < -4 || rounded.exponent >= 15;
  return scientific ? ScientificText(rounded) : FixedText(rounded);
}

std::string Str(long long n) { return n < 0 ? CStr(n) : " " + CStr(n); }

std::string FormatGrouped(long long n) {
  unsigned long long magnitude = n < 0 ? 0ull - static_cast<unsigned long long>(n) : static_cast<unsigned long long>(n);
  std::string digits = std::to_string(magnitude);
  std::string out;
  out.reserve(digits.size() + digits.size() / 3 + 1);
  if (n < 0) out.push_back('-');
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out.push_back(',');
    out.push_back(digits[i]);
  }
  return out;
}

std::int16_t CIntText(std::string_view s) { return CInt(CDbl(s)); }

std::int32_t CLngText(std::string_view s) { return CLng(CDbl(s)); }

}  // namespace tqlm
