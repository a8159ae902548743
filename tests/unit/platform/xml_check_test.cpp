#include "platform/xml_check.h"

#include <expat.h>
#include <gtest/gtest.h>

#include <string>
#include <string_view>

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

// The parser's own answer, for texts without a document type.
bool ParserSaysWellFormed(std::string_view text) {
  XML_Parser parser = XML_ParserCreate("ISO-8859-1");
  const bool wellFormed = XML_Parse(parser, text.data(), static_cast<int>(text.size()), XML_TRUE) == XML_STATUS_OK;
  XML_ParserFree(parser);
  return wellFormed;
}

// The quick pass may only certify what the parser accepts, and with it the
// check must answer as the parser does: over every text one byte away from
// fragments of the writers' shapes (one deleted, inserted or replaced).
TEST(IsWellFormedXml, AnswersAsTheParserOneByteAwayFromTheWritersShapes) {
  const std::string seeds[] = {
      "<ABM00000 TYPE =\"F\" TARGETTABLES = \"abm00000\">\r\n <INFO>\r\n<TFLD> <F0 DOMA = \"abd0\" COMB = \"N\" "
      "CHLD = \"\"  TYPE = \"S\"  >  </F0> \r\n</TFLD></INFO></ABM00000>",
      "<AllDumps><DUMP1><F-1 TYPE = \"0\"><VALUE>(var.x)=&quot;&quot; ? a &amp; b &lt; c</VALUE></F-1>\r\n"
      "<F2 TYPE = \"1\" TVAR = \"var.abm.x\"/></DUMP1></AllDumps>",
      " <a:b x.y=\"1\" _z=\"a>b\"><c/></a:b> ",
      "<e a=\"1\" b=\"2\"><v>x]] y</v></e>",
  };
  const std::string bytes = std::string("<>/&;=\"' !?-]aZ0:\t\x01\x7F\xE9", 22);
  int certified = 0;
  auto check = [&](const std::string& text) {
    const bool parser = ParserSaysWellFormed(text);
    if (IsPlainWellFormedXml(text)) {
      ++certified;
      EXPECT_TRUE(parser) << text;
    }
    EXPECT_EQ(IsWellFormedXml(text), parser) << text;
  };
  for (const std::string& seed : seeds) {
    check(seed);
    for (std::size_t at = 0; at <= seed.size(); ++at) {
      if (at < seed.size()) check(seed.substr(0, at) + seed.substr(at + 1));
      for (char b : bytes) {
        check(seed.substr(0, at) + b + seed.substr(at));
        if (at < seed.size()) check(seed.substr(0, at) + b + seed.substr(at + 1));
      }
    }
  }
  EXPECT_GT(certified, 1000);  // the quick pass is taken, not only the parser
}

}  // namespace
}  // namespace tqlm
