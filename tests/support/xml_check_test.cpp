// The well-formedness check that end-to-end tests and fuzz harnesses apply to every XML
// document the probe prints: it must accept the probe's documents and refuse what a host's
// parser refuses.
#include "support/xml_check.h"
#include "support/xml_reader.h"

#include <gtest/gtest.h>

#include <string>

namespace kelvoran {
namespace {

TEST(XmlCheckTest, AcceptsWellFormedDocuments) {
  const std::string cases[] = {
      "\n<Prtg>\n\n<Text>(PRD) Kelvoran</Text>\n\n</Prtg>\n",
      "<Prtg>\n<Error>1</Error>\n<Text>A&lt;B&gt;&amp;C&apos;&quot;</Text>\n</Prtg>\n",
      "<a x=\"1\" y='&amp;2'><b/><c >t\tab\r\n</c ></a>",
      "<a>&#9;&#x41;&#65;</a>",
      "<a>\xC3\xA4 \xE2\x82\xAC \xF4\x8F\xBF\xBD</a>",  // UTF-8 of 2, 3 and 4 bytes
      "<a>]] > ]</a>",
      "<a>&#x10FFFF;&#65533;</a>",
  };
  for (const std::string& document : cases) {
    SCOPED_TRACE(document);
    EXPECT_EQ(XmlWellFormednessError(document), "");
  }
}

TEST(XmlCheckTest, RefusesWhatAParserRefuses) {
  struct Case {
    const char* label;
    std::string document;
  } cases[] = {
      {"empty", ""},
      {"only blanks", " \n"},
      {"two root elements", "\n<Prtg>\n\n<Prtg>\n<Error>1</Error>\n</Prtg>\n"},
      {"root never closed", "\n<Prtg>\n<Text>x</Text>\n"},
      {"text before the root", "* SapRfc.Ini.......: PRD<\n<Prtg></Prtg>"},
      {"text after the root", "<Prtg></Prtg>\nx"},
      {"a '<' followed by a line end", "<Prtg>* SapRfc.Ini.......: PRD<\n</Prtg>"},
      {"bare '&'", "<a>A & B</a>"},
      {"unknown entity", "<a>&nbsp;</a>"},
      {"entity without ';'", "<a>&amp</a>"},
      {"control character", std::string("<a>x\x01y</a>")},
      {"escape character", std::string("<a>\x1b[0m</a>")},
      {"NUL", std::string("<a>\0</a>", 8)},
      {"form feed in an attribute", std::string("<a b=\"\x0c\"/>")},
      {"reference to a control character", "<a>&#1;</a>"},
      {"reference to NUL", "<a>&#x0;</a>"},
      {"reference out of range", "<a>&#x110000;</a>"},
      {"reference without digits", "<a>&#;</a>"},
      {"reference to U+FFFE", "<a>&#xFFFE;</a>"},
      {"mismatched end tag", "<Text>x</Txt>"},
      {"crossed elements", "<a><b></a></b>"},
      {"']]>' in text", "<a>]]></a>"},
      {"attribute given twice", "<a b='1' b='2'/>"},
      {"attribute without quotes", "<a b=1/>"},
      {"'<' in an attribute", "<a b='<'/>"},
      {"attributes not separated", "<a b='1'c='2'/>"},
      {"Windows-1252 byte", "<a>verf\xFCgbar</a>"},
      {"lone continuation byte", "<a>\x80</a>"},
      {"sequence cut short", "<a>\xE2\x82</a>"},
      {"overlong form", "<a>\xC0\xAF</a>"},
      {"surrogate", "<a>\xED\xA0\x80</a>"},
      {"beyond U+10FFFF", "<a>\xF4\x90\x80\x80</a>"},
      {"U+FFFE", "<a>\xEF\xBF\xBE</a>"},
      {"Latin-1 in an attribute", "<a b='\xE4'/>"},
      {"comment", "<a><!-- x --></a>"},
      {"declaration", "<?xml version=\"1.0\"?><a/>"},
      {"name starting with a digit", "<1a/>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_NE(XmlWellFormednessError(c.document), "");
  }
}

TEST(XmlReaderTest, TellsWellFormedDocumentsFromOthers) {
  struct Case {
    const char* text;
    bool wellFormed;
  } cases[] = {
      {"\n<Prtg>\n<Text>a &amp; b</Text>\n</Prtg>\n", true},
      {"<Prtg><Text>a & b</Text></Prtg>", false},
      {"<Prtg><Text>a</Prtg></Text>", false},
      {"<Prtg><Text>a</Text>", false},
      {"<Prtg></Prtg><Prtg></Prtg>", false},
      {"<Prtg>a > b</Prtg>", true},
      {"<Prtg>a < b</Prtg>", false},
      {"<Prtg>a \x01 b</Prtg>", false},
      {"<Prtg>&bogus;</Prtg>", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(XmlReader(c.text).Document().has_value(), c.wellFormed);
  }
}

}  // namespace
}  // namespace kelvoran
