/// Values of the basic RFC types in the layouts SAP uses on the wire and in records:
/// characters blank-padded, dates YYYYMMDD, times HHMMSS, 4-byte integers in the platform's
/// byte order, packed decimals as BCD digits with a sign nibble (C positive, D negative).
#ifndef KELVORAN_SIMSAP_FIELD_CODEC_H
#define KELVORAN_SIMSAP_FIELD_CODEC_H

#include <optional>
#include <string>
#include <string_view>

namespace simsap {

/// The basic types of the fields the simulated systems answer with. They are numbered as SAP
/// numbers its basic types, in both RFC libraries, so that a stand-in hands a field's code on
/// as it is.
inline constexpr unsigned kTypeChar = 0;     // characters, blank-padded
inline constexpr unsigned kTypeDate = 1;     // YYYYMMDD
inline constexpr unsigned kTypePacked = 2;   // packed decimal (BCD)
inline constexpr unsigned kTypeTime = 3;     // HHMMSS
inline constexpr unsigned kTypeInteger = 8;  // four-byte integer

/// One field of a record or one scalar parameter: name, basic type code, length in bytes,
/// decimals (packed fields only).
struct FieldDef {
  const char* name;
  unsigned type;
  unsigned length;
  unsigned decimals;
};

/// Why `value` does not fit `field` ("is not a time HHMMSS"), or nothing when it fits.
std::optional<std::string> CheckFieldValue(const FieldDef& field, std::string_view value);

/// Writes `value`, which must have passed CheckFieldValue, into the `field.length` bytes at `out`.
void EncodeField(const FieldDef& field, std::string_view value, unsigned char* out);

/// The text of the field at `in` (its `field.length` bytes), as a landscape would give it:
/// characters, dates and times as they are (blank padding included); integers in decimal;
/// packed numbers as decimal text with a leading '-' when negative, a '.' before exactly
/// `field.decimals` fraction digits, and no leading zeros before the point but one ("0.50000").
std::string DecodeField(const FieldDef& field, const unsigned char* in);

}  // namespace simsap

#endif
