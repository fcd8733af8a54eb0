/// Texts between the library's callers (UTF-16, SAP_UC) and the landscape (bytes).
#ifndef KELVORAN_SIMNWRFC_SAP_TEXT_H
#define KELVORAN_SIMNWRFC_SAP_TEXT_H

#include <cstddef>
#include <string>
#include <string_view>

#include "nwrfc_declarations.h"

namespace simnwrfc {

/// Landscape bytes as UTF-16: each valid UTF-8 sequence as its character, every other byte as
/// the Latin-1 character of its value.
std::u16string Widen(std::string_view bytes);
/// UTF-16 as UTF-8; an unpaired surrogate becomes U+FFFD.
std::string Narrow(std::u16string_view text);

/// A caller's NUL-terminated text; empty for a null pointer.
std::u16string FromSap(const SAP_UC* text);
/// `text` into the `size` units at `target`, cut to fit, always NUL-terminated (nothing for a
/// size of 0).
void CopyToSap(SAP_UC* target, std::size_t size, std::u16string_view text);
/// `length` units of `text` to `target`, without a NUL.
void PutUnits(SAP_UC* target, std::u16string_view text, std::size_t length);

/// ASCII comparison that ignores letter case.
bool EqualsNoCase(std::u16string_view a, std::u16string_view b);
/// `text` with ASCII letters in upper case.
std::u16string ToUpper(std::u16string_view text);
/// `text` without trailing blanks.
std::u16string TrimTrailingBlanks(std::u16string_view text);

}  // namespace simnwrfc

#endif
