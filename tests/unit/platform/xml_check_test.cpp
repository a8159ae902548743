#include "platform/xml_check.h"

#include <gtest/gtest.h>

#include <string>

namespace tqlm {
namespace {

TEST(IsWellFormedXml, AcceptsOneRootWithMarkupAround) {
  EXPECT_TRUE(IsWellFormedXml("<a/>"));
  EXPECT_TRUE(IsWellFormedXml("  \r\n<a/>\r\n  "));
  EXPECT_TRUE(IsWellFormedXml("<!-- before --><?pi data?><a><b x='1'/></a><!-- after --><?end?>"));
  EXPECT_TRUE(IsWellFormedXml("<a>&amp;&lt;&gt;&quot;&apos;&#65;</a>"));
  EXPECT_TRUE(IsWellFormedXml("<IND-1 NUMB = \"1\"  >  </IND-1 >"));
  EXPECT_TRUE(IsWellFormedXml("<a.b><c-d.e/></a.b>"));
}

TEST(IsWellFormedXml, TakesEveryHighByteAsACharacter) {
  EXPECT_TRUE(IsWellFormedXml("<a>caf\xE9 \x80 \xFF</a>"));
  EXPECT_TRUE(IsWellFormedXml("<a t=\"\xE9\"/>"));
  // A declaration inside the text does not change how the bytes are read.
  EXPECT_TRUE(IsWellFormedXml("<?xml version=\"1.0\" encoding=\"UTF-8\"?><a>\xE9</a>"));
}

TEST(IsWellFormedXml, RejectsAnythingButOneRoot) {
  EXPECT_FALSE(IsWellFormedXml(""));
  EXPECT_FALSE(IsWellFormedXml("   "));
  EXPECT_FALSE(IsWellFormedXml("<!-- only a comment -->"));
  EXPECT_FALSE(IsWellFormedXml("<a>"));
  EXPECT_FALSE(IsWellFormedXml("<a/><b/>"));
  EXPECT_FALSE(IsWellFormedXml("x<a/>"));
  EXPECT_FALSE(IsWellFormedXml("<a/>x"));
}

TEST(IsWellFormedXml, RejectsMalformedContent) {
  EXPECT_FALSE(IsWellFormedXml("<a>&nbsp;</a>"));
  EXPECT_FALSE(IsWellFormedXml("<a>1 < 2</a>"));
  EXPECT_FALSE(IsWellFormedXml("<a>A & B</a>"));
  EXPECT_FALSE(IsWellFormedXml("<a x=1/>"));
  EXPECT_FALSE(IsWellFormedXml("<a><b></a></b>"));
  EXPECT_FALSE(IsWellFormedXml("<a></A>"));
  EXPECT_FALSE(IsWellFormedXml("<a>\x01</a>"));
  EXPECT_FALSE(IsWellFormedXml(std::string("<a>\0</a>", 8)));
}

TEST(IsWellFormedXml, RejectsADocumentType) {
  EXPECT_FALSE(IsWellFormedXml("<!DOCTYPE a><a/>"));
  EXPECT_FALSE(IsWellFormedXml("<!DOCTYPE a [<!ENTITY e \"x\">]><a>&e;</a>"));
}

}  // namespace
}  // namespace tqlm
