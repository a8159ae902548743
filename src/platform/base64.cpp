#include "platform/base64.h"

#include <cstdint>

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

}  // namespace tqlm
