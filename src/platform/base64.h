// Base64 text of a document, as the legacy class stores its documents.
#pragma once

#include <string>
#include <string_view>

namespace tqlm {

// The bytes of `text` in the standard alphabet with "=" padding, broken into
// lines of 76 characters by CR LF (never after the last line). An empty text
// gives an empty result.
std::string Encode_Base64(std::string_view text);

}  // namespace tqlm
