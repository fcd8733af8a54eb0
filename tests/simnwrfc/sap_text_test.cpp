#include "simnwrfc/sap_text.h"

#include <gtest/gtest.h>

#include <string>

namespace simnwrfc {
namespace {

TEST(NwSapTextTest, LandscapeBytesAreUtf8WhereValidElseLatin1) {
  struct Case {
    const char* label;
    std::string bytes;
    std::u16string text;
  };
  const Case cases[] = {
      {"ASCII", "DB4", u"DB4"},
      {"UTF-8", "M\xC3\xBCller", u"M\u00FCller"},
      {"Latin-1", "M\xFCller", u"M\u00FCller"},
      {"both in one value", "\xC3\xA4-\xE4", u"\u00E4-\u00E4"},
      {"a cut sequence", "x\xE2\x82", u"x\u00E2\u0082"},
      {"an overlong form", "\xC0\xAF", u"\u00C0\u00AF"},
      {"a surrogate in UTF-8", "\xED\xA0\x80", u"\u00ED\u00A0\u0080"},
      {"beyond the BMP", "\xF0\x9F\x98\x80", u"\U0001F600"},
      {"euro sign", "\xE2\x82\xAC", u"\u20AC"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(Widen(c.bytes), c.text);
  }
}

TEST(NwSapTextTest, NarrowIsUtf8AndCopiesAreCutWithTheirNul) {
  EXPECT_EQ(Narrow(u"M\u00FCller \u20AC \U0001F600"), "M\xC3\xBCller \xE2\x82\xAC \xF0\x9F\x98\x80");
  EXPECT_EQ(Narrow(std::u16string(1, u'\xD800')), "\xEF\xBF\xBD");

  SAP_UC buffer[4] = {1, 1, 1, 1};
  CopyToSap(buffer, 3, u"abcdef");
  EXPECT_EQ(buffer[0], SAP_UC('a'));
  EXPECT_EQ(buffer[1], SAP_UC('b'));
  EXPECT_EQ(buffer[2], SAP_UC(0));
  EXPECT_EQ(buffer[3], SAP_UC(1));
}

}  // namespace
}  // namespace simnwrfc
