// Outside texts in the XML flavours: valid UTF-8 stays, every other byte from 0x80 up is read as
// Windows-1252 and written in UTF-8, and the result is always a text a UTF-8 parser accepts.
#include "output/utf8_text.h"

#include <gtest/gtest.h>

#include <string>

#include "output/document.h"
#include "support/xml_check.h"

namespace kelvoran {
namespace {

TEST(Utf8TextTest, EscapedTextsAreUtf8) {
  struct Case {
    const char* label;
    std::string text;
    std::string expected;
  } cases[] = {
      {"ASCII", "PRD DB4 <1>", "PRD DB4 &lt;1&gt;"},
      {"valid UTF-8 of two, three and four bytes", "\xc3\xbc \xe2\x82\xac \xf0\x9f\x98\x80",
       "\xc3\xbc \xe2\x82\xac \xf0\x9f\x98\x80"},
      {"Windows-1252 letters", "verf\xfc" "gbar \xc4\xd6\xdc\xdf",
       "verf\xc3\xbcgbar \xc3\x84\xc3\x96\xc3\x9c\xc3\x9f"},
      {"Windows-1252 from 0x80 to 0x9F", "\x80\x8a\x99\x9f",
       "\xe2\x82\xac\xc5\xa0\xe2\x84\xa2\xc5\xb8"},
      {"bytes Windows-1252 leaves unassigned", "\x81\x8d\x8f\x90\x9d", "?????"},
      {"lead byte at the end", "x\xc3", "x\xc3\x83"},
      {"lead byte before ASCII", "\xe2\x82" "x", "\xc3\xa2\xe2\x80\x9a" "x"},
      {"overlong form", "\xc0\xaf", "\xc3\x80\xc2\xaf"},
      {"surrogate", "\xed\xa0\x80", "\xc3\xad\xc2\xa0\xe2\x82\xac"},
      {"beyond U+10FFFF", "\xf4\x90\x80\x80", "\xc3\xb4?\xe2\x82\xac\xe2\x82\xac"},
      {"U+FFFF, no character of XML", "\xef\xbf\xbf", "\xc3\xaf\xc2\xbf\xc2\xbf"},
      {"UTF-8 and Windows-1252 mixed", "\xc3\xbc\xfc", "\xc3\xbc\xc3\xbc"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    const std::string escaped = EscapeXml(c.text);
    EXPECT_EQ(escaped, c.expected);
    EXPECT_EQ(XmlWellFormednessError("<a>" + escaped + "</a>"), "");
  }
}

// Every byte alone and after each lead byte: whatever comes in, the text is UTF-8 XML accepts.
TEST(Utf8TextTest, EveryByteGivesTextAParserAccepts) {
  for (int lead = 0; lead < 256; ++lead) {
    for (int next = 0x20; next < 256; ++next) {
      const std::string text = {static_cast<char>(lead), static_cast<char>(next), 'x'};
      const std::string error = XmlWellFormednessError("<a>" + EscapeXml(text) + "</a>");
      if (!error.empty()) FAIL() << lead << " " << next << ": " << error;
    }
  }
}

}  // namespace
}  // namespace kelvoran
