/// Values of the basic RFC types in the layouts SAP uses on the wire and in records:
/// characters blank-padded, dates YYYYMMDD, times HHMMSS, 4-byte integers in the platform's
/// byte order, packed decimals as BCD digits with a sign nibble (C positive, D negative).
#ifndef KELVORAN_SIMRFC_FIELD_CODEC_H
#define KELVORAN_SIMRFC_FIELD_CODEC_H

#include <optional>
#include <string>
#include <string_view>

namespace simrfc {

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

}  // namespace simrfc

#endif
