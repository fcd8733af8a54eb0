/// Packed decimal numbers as the RFC library hands them over: BCD digits, two to a byte, the
/// last nibble the sign.
#ifndef KELVORAN_RFC_CLASSIC_PACKED_DECIMAL_H
#define KELVORAN_RFC_CLASSIC_PACKED_DECIMAL_H

#include <cstddef>
#include <optional>
#include <string>

namespace kelvoran {

/// Longest packed number the RFC library knows (31 digits and the sign).
inline constexpr std::size_t kPackedMaxLength = 16;

/// The packed number of `length` bytes at `bytes` with `decimals` digits after the decimal
/// point, as decimal text: a '-' for a negative number, the whole digits without leading zeros
/// (at least one), then '.' and exactly `decimals` digits. Decoded digit by digit, so nothing
/// is rounded. Sign nibbles A, C, E and F are positive, B and D negative; zero is written
/// without a sign whatever its sign nibble. Empty when the bytes are not a packed number (a
/// digit nibble above 9, a sign nibble below A) or the layout is impossible (`length` 0 or
/// above 16, more decimals than digits).
std::optional<std::string> DecodePackedDecimal(const unsigned char* bytes, std::size_t length,
                                               unsigned decimals);

}  // namespace kelvoran

#endif
