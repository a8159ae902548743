#include <tqlm/base64.h>

#include <cstdint>

#include "platform/error.h"

namespace tqlm {

namespace {
constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr std::size_t kLineLength = 76;
}  // namespace

std::string Encode_Base64(std::string_view text) {
  std::string out;
  std::size_t chars = (text.size() + 2) / 3 * 4;
  out.reserve(chars + chars / kLineLength * 2);
  std::size_t column = 0;
  auto put = [&](char ch) {
    if (column == kLineLength) {  // a break only when more output follows
      out.append("\r\n");
      column = 0;
    }
    out.push_back(ch);
    ++column;
  };
  std::size_t i = 0;
  for (; i + 3 <= text.size(); i += 3) {
    std::uint32_t n = (std::uint32_t(std::uint8_t(text[i])) << 16) | (std::uint32_t(std::uint8_t(text[i + 1])) << 8) |
                      std::uint8_t(text[i + 2]);
    put(kAlphabet[(n >> 18) & 63]);
    put(kAlphabet[(n >> 12) & 63]);
    put(kAlphabet[(n >> 6) & 63]);
    put(kAlphabet[n & 63]);
  }
  std::size_t rest = text.size() - i;
  if (rest > 0) {
    std::uint32_t n = std::uint32_t(std::uint8_t(text[i])) << 16;
    if (rest == 2) n |= std::uint32_t(std::uint8_t(text[i + 1])) << 8;
    put(kAlphabet[(n >> 18) & 63]);
    put(kAlphabet[(n >> 12) & 63]);
    put(rest == 2 ? kAlphabet[(n >> 6) & 63] : '=');
    put('=');
  }
  return out;
}

std::string Decode_Base64(std::string_view text) {
  std::string out;
  out.reserve(text.size() / 4 * 3);
  std::uint32_t bits = 0;
  int count = 0, padding = 0;
  for (char ch : text) {
    if (ch == '\r' || ch == '\n' || ch == ' ' || ch == '\t') continue;
    int value;
    if (ch >= 'A' && ch <= 'Z') value = ch - 'A';
    else if (ch >= 'a' && ch <= 'z') value = ch - 'a' + 26;
    else if (ch >= '0' && ch <= '9') value = ch - '0' + 52;
    else if (ch == '+') value = 62;
    else if (ch == '/') value = 63;
    else if (ch == '=') value = -1;
    else Raise(kErrInvalidCall);
    if (value < 0) {
      ++padding;
      value = 0;
    } else if (padding > 0) {
      Raise(kErrInvalidCall);  // data after the padding
    }
    bits = (bits << 6) | static_cast<std::uint32_t>(value);
    if (++count == 4) {
      out.push_back(static_cast<char>((bits >> 16) & 0xFF));
      if (padding < 2) out.push_back(static_cast<char>((bits >> 8) & 0xFF));
      if (padding < 1) out.push_back(static_cast<char>(bits & 0xFF));
      bits = 0;
      count = 0;
    }
  }
  if (count != 0) Raise(kErrInvalidCall);
  return out;
}

}  // namespace tqlm
