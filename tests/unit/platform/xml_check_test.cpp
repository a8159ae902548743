#include "platform/xml_check.h"

#include <gtest/gtest.h>

#include <string>

namespace tqlm {
namespace {

TEST(IsWellFormedXml, AcceptsOneRootWithMarkupAroundAndEveryHighByte) {
  for (const char* text : {"  \r\n<a/>\r\n  ", "<!-- before --><?pi data?><a><b x='1'/></a><!-- after --><?end?>",
                           "<a>&amp;&lt;&gt;&quot;&apos;&#65;</a>", "<IND-1 NUMB = \"1\"  >  </IND-1 >",
                           "<a.b><c-d.e/></a.b>", "<a>caf\xE9 \x80 \xFF</a>", "<a t=\"\xE9\"/>",
                           // A declaration inside the text does not change how the bytes are read.
                           "<?xml version=\"1.0\" encoding=\"UTF-8\"?><a>\xE9</a>"}) {
    EXPECT_TRUE(IsWellFormedXml(text)) << text;
  }
}

TEST(IsWellFormedXml, RejectsAnythingButOneWellFormedRoot) {
  for (std::string text : {"", "   ", "<!-- only a comment -->", "<a>", "<a/><b/>", "x<a/>", "<a/>x", "<a>&nbsp;</a>",
                           "<a>1 < 2</a>", "<a>A & B</a>", "<a x=1/>", "<a><b></a></b>", "<a></A>", "<a>\x01</a>",
                           "<!DOCTYPE a><a/>", "<!DOCTYPE a [<!ENTITY e \"x\">]><a>&e;</a>"}) {
    EXPECT_FALSE(IsWellFormedXml(text)) << text;
  }
  EXPECT_FALSE(IsWellFormedXml(std::string("<a>\0</a>", 8)));
}

}  // namespace
}  // namespace tqlm
