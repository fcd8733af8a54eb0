#include "simsap/field_codec.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace simsap {
namespace {

std::string Hex(const std::vector<unsigned char>& bytes) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string text;
  for (unsigned char byte : bytes) {
    text += kDigits[byte >> 4];
    text += kDigits[byte & 0xf];
  }
  return text;
}

std::string Encoded(const FieldDef& field, const std::string& value) {
  std::vector<unsigned char> bytes(field.length, 0xee);
  EncodeField(field, value, bytes.data());
  return Hex(bytes);
}

TEST(FieldCodecTest, PackedDecimalsAreBcdWithSignNibble) {
  const FieldDef size{"TAB_SIZE", kTypePacked, 8, 0};
  const FieldDef share{"SYS_ASP_P", kTypePacked, 8, 5};
  const FieldDef space{"SYS_ASP_S", kTypePacked, 6, 1};
  struct Case {
    const char* label;
    const FieldDef& field;
    const char* value;
    const char* bytes;
  } cases[] = {
      {"zero", size, "0", "000000000000000C"},
      {"whole number", size, "1234567", "000000001234567C"},
      {"negative", size, "-1234567", "000000001234567D"},
      {"fifteen digits", size, "999999999999999", "999999999999999C"},
      {"leading zeros take no digits", size, "0000000000000000042", "000000000000042C"},
      {"decimals filled up", share, "63.1", "000000006310000C"},
      {"all five decimals", share, "-0.00001", "000000000000001D"},
      {"one decimal", space, "12345.6", "00000123456C"},
      {"no decimals given", space, "7", "00000000070C"},
      {"negative zero has no sign", space, "-0.0", "00000000000C"},
      {"plus sign", space, "+1.5", "00000000015C"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(CheckFieldValue(c.field, c.value), std::nullopt);
    EXPECT_EQ(Encoded(c.field, c.value), c.bytes);
  }
}

TEST(FieldCodecTest, CharactersDatesTimesAndIntegers) {
  std::vector<unsigned char> text(10);
  EncodeField({"DBSYS", kTypeChar, 10, 0}, "DB4", text.data());
  EXPECT_EQ(std::string(text.begin(), text.end()), "DB4       ");

  std::vector<unsigned char> date(8);
  EncodeField({"FS_A_DATE", kTypeDate, 8, 0}, "20240229", date.data());
  EXPECT_EQ(std::string(date.begin(), date.end()), "20240229");

  const std::int32_t values[] = {0, -1, 2147483647, -2147483647 - 1};
  const char* texts[] = {"0", "-1", "2147483647", "-2147483648"};
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(texts[i]);
    unsigned char bytes[4];
    EncodeField({"TAB_CNT", kTypeInteger, 4, 0}, texts[i], bytes);
    std::int32_t decoded;
    std::memcpy(&decoded, bytes, sizeof decoded);
    EXPECT_EQ(decoded, values[i]);
  }
}

TEST(FieldCodecTest, ValuesThatDoNotFitTheirField) {
  const FieldDef date{"FS_A_DATE", kTypeDate, 8, 0};
  const FieldDef time{"FS_A_TIME", kTypeTime, 6, 0};
  const FieldDef share{"SYS_ASP_P", kTypePacked, 8, 5};
  struct Case {
    const char* label;
    const FieldDef& field;
    const char* value;
    bool fits;
  } cases[] = {
      {"initial date", date, "00000000", true},
      {"leap day", date, "20000229", true},
      {"no leap day", date, "19000229", false},
      {"31st of a short month", date, "20240431", false},
      {"date too short", date, "2024101", false},
      {"date with letters", date, "2024OCT7", false},
      {"last second of the day", time, "235959", true},
      {"minute 60", time, "106000", false},
      {"ten digits before the point", share, "9999999999.99999", true},
      {"eleven digits before the point", share, "10000000000", false},
      {"six decimals", share, "1.000001", false},
      {"point without decimals", share, "1.", false},
      {"empty", share, "", false},
      {"two signs", share, "--1", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(!CheckFieldValue(c.field, c.value).has_value(), c.fits);
  }
}


// What a client reading a field by name gets: the text of its bytes. Packed numbers come back
// with a leading '-' when negative, '.' and exactly as many fraction digits as the field has.
TEST(FieldCodecTest, DecodesWhatItEncodes) {
  const FieldDef share{"SYS_ASP_P", kTypePacked, 8, 5};
  const FieldDef space{"SYS_ASP_S", kTypePacked, 6, 1};
  const FieldDef size{"TAB_SIZE", kTypePacked, 8, 0};
  const FieldDef count{"TAB_CNT", kTypeInteger, 4, 0};
  const FieldDef text{"DBSYS", kTypeChar, 10, 0};
  const FieldDef date{"FS_A_DATE", kTypeDate, 8, 0};
  struct Case {
    const FieldDef& field;
    const char* value;
    const char* decoded;
  } cases[] = {
      {share, "63.4125", "63.41250"},
      {share, "0", "0.00000"},
      {share, "-0", "0.00000"},
      {share, "-.5", "-0.50000"},
      {share, "+007.1", "7.10000"},
      {share, "9999999999.99999", "9999999999.99999"},
      {share, "-12.34567", "-12.34567"},
      {space, "1431655.8", "1431655.8"},
      {space, "-0.1", "-0.1"},
      {size, "182734512128", "182734512128"},
      {size, "-5", "-5"},
      {size, "0", "0"},
      {count, "-2147483648", "-2147483648"},
      {count, "41234", "41234"},
      {text, "DB4", "DB4       "},
      {date, "20241007", "20241007"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.field.name) + " " + c.value);
    std::vector<unsigned char> bytes(c.field.length, 0xee);
    EncodeField(c.field, c.value, bytes.data());
    EXPECT_EQ(DecodeField(c.field, bytes.data()), c.decoded);
  }
}

}  // namespace
}  // namespace simsap
