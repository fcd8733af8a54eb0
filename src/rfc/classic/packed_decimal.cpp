#include "rfc/classic/packed_decimal.h"

namespace kelvoran {

std::optional<std::string> DecodePackedDecimal(const unsigned char* bytes, std::size_t length,
                                               unsigned decimals) {
  if (length == 0 || length > kPackedMaxLength) return std::nullopt;
  const std::size_t digitCount = 2 * length - 1;
  if (decimals > digitCount) return std::nullopt;

  std::string digits;
  digits.reserve(digitCount);
  for (std::size_t i = 0; i < digitCount; ++i) {
    const unsigned byte = bytes[i / 2];
    const unsigned nibble = i % 2 == 0 ? byte >> 4 : byte & 0x0f;
    if (nibble > 9) return std::nullopt;
    digits += static_cast<char>('0' + nibble);
  }
  const unsigned sign = bytes[length - 1] & 0x0f;
  if (sign < 0xa) return std::nullopt;
  const bool negative = sign == 0xb || sign == 0xd;

  const std::size_t wholeCount = digitCount - decimals;
  std::size_t first = 0;
  while (first + 1 < wholeCount && digits[first] == '0') ++first;

  std::string text;
  const bool zero = digits.find_first_not_of('0') == std::string::npos;
  if (negative && !zero) text += '-';
  if (wholeCount == 0) {
    text += '0';
  } else {
    text.append(digits, first, wholeCount - first);
  }
  if (decimals > 0) {
    text += '.';
    text.append(digits, wholeCount, decimals);
  }
  return text;
}

}  // namespace kelvoran
