#include "rfc/classic/packed_decimal.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kelvoran {
namespace {

std::vector<unsigned char> FromHex(const std::string& hex) {
  std::vector<unsigned char> bytes;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
    bytes.push_back(static_cast<unsigned char>(std::stoul(hex.substr(i, 2), nullptr, 16)));
  }
  return bytes;
}

TEST(PackedDecimalTest, DecodesDigitsAndSignExactly) {
  struct Case {
    const char* hex;
    unsigned decimals;
    std::optional<std::string> text;
  } cases[] = {
      // SYS_ASP_P: 8 bytes, 15 digits, 5 of them decimals.
      {"000000006341250C", 5, "63.41250"},
      {"000000000050000D", 5, "-0.50000"},
      {"000000000000001D", 5, "-0.00001"},
      {"000000000000000C", 5, "0.00000"},
      {"000000000000000D", 5, "0.00000"},  // a negative zero is zero
      {"000000010000000F", 5, "100.00000"},
      {"999999999999999C", 5, "9999999999.99999"},
      {"999999999999999B", 5, "-9999999999.99999"},
      {"100000000000000A", 5, "1000000000.00000"},
      {"000000000000012E", 5, "0.00012"},
      // SYS_ASP_S: 6 bytes, 11 digits, one decimal; TAB_SIZE: 8 bytes, whole.
      {"00014316558C", 1, "1431655.8"},
      {"000182734512128C", 0, "182734512128"},
      {"000000000000000C", 0, "0"},
      {"000000000000007D", 0, "-7"},
      // One byte holds one digit.
      {"5C", 1, "0.5"},
      {"5D", 0, "-5"},
      // Not packed numbers: a digit nibble above 9, a sign nibble below A.
      {"00000000000A000C", 5, std::nullopt},
      {"F00000000000000C", 5, std::nullopt},
      {"0000000000000005", 5, std::nullopt},
      {"0000000000000009", 0, std::nullopt},
      // Impossible layouts.
      {"5C", 2, std::nullopt},
      {"", 0, std::nullopt},
      {"000000000000000000000000000000000C", 0, std::nullopt},  // 17 bytes
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.hex) + " with " + std::to_string(c.decimals) + " decimals");
    const std::vector<unsigned char> bytes = FromHex(c.hex);
    EXPECT_EQ(DecodePackedDecimal(bytes.data(), bytes.size(), c.decimals), c.text);
  }
}

TEST(PackedDecimalTest, LongestNumberIsThirtyOneDigits) {
  std::vector<unsigned char> bytes(kPackedMaxLength, 0x99);
  bytes.back() = 0x9d;
  EXPECT_EQ(DecodePackedDecimal(bytes.data(), bytes.size(), 31), "-0." + std::string(31, '9'));
  EXPECT_EQ(DecodePackedDecimal(bytes.data(), bytes.size(), 0), "-" + std::string(31, '9'));
}

}  // namespace
}  // namespace kelvoran
