// Base64 text of a document, as the legacy class stores its documents.
#pragma once

#include <string>
#include <string_view>

namespace tqlm {

// The bytes of `text` in the standard alphabet with "=" padding, broken into
// lines of 76 characters by CR LF (never after the last line). An empty text
// gives an empty result.
std::string Encode_Base64(std::string_view text);

// The bytes of Base64 text; line breaks and blanks are skipped. Raises 5
// for any other character outside the alphabet or a text cut short.
std::string Decode_Base64(std::string_view text);

}  // namespace tqlm
