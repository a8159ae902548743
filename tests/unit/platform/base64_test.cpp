#include "platform/base64.h"

#include <gtest/gtest.h>

#include <string>

namespace tqlm {
namespace {

TEST(Base64, KnownValuesAndPadding) {
  EXPECT_EQ(Encode_Base64(""), "");
  EXPECT_EQ(Encode_Base64("f"), "Zg==");
  EXPECT_EQ(Encode_Base64("fo"), "Zm8=");
  EXPECT_EQ(Encode_Base64("foo"), "Zm9v");
  EXPECT_EQ(Encode_Base64("foob"), "Zm9vYg==");
  // Windows-1252 bytes are encoded as they are: "é" is the single byte E9.
  EXPECT_EQ(Encode_Base64("\xE9"), "6Q==");
  EXPECT_EQ(Encode_Base64(std::string("\x00\xFF\xFE", 3)), "AP/+");
}

TEST(Base64, BreaksLinesAfterSeventySixCharactersOnlyWhenMoreFollows) {
  const std::string a57(57, 'a');
  std::string encoded = Encode_Base64(a57);
  EXPECT_EQ(encoded.size(), 76u);
  EXPECT_EQ(encoded.find('\r'), std::string::npos);

  encoded = Encode_Base64(a57 + "a");
  ASSERT_EQ(encoded.size(), 76u + 2 + 4);
  EXPECT_EQ(encoded.substr(76, 2), "\r\n");
  EXPECT_EQ(encoded.substr(78), "YQ==");

  encoded = Encode_Base64(std::string(114, 'a'));
  ASSERT_EQ(encoded.size(), 76u + 2 + 76);
  EXPECT_EQ(encoded.substr(76, 2), "\r\n");
  EXPECT_NE(encoded.substr(encoded.size() - 2), "\r\n");
  EXPECT_EQ(encoded.substr(0, 76), encoded.substr(78));
}

}  // namespace
}  // namespace tqlm
