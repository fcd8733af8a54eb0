/// The NW RFC library's texts: UTF-16 (SAP_UC) on its side, the probe's 8-bit text on ours, in
/// the host's code page as the classic library delivered it.
#ifndef KELVORAN_RFC_NWRFC_SAP_TEXT_H
#define KELVORAN_RFC_NWRFC_SAP_TEXT_H

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/code_page.h"
#include "rfc/nwrfc/nwrfc_library.h"

namespace kelvoran {

using SapText = std::basic_string<SapChar>;

/// `text` in UTF-16, each byte read in `codePage` (a byte Windows-1252 leaves unassigned as
/// "?").
SapText ToSapText(std::string_view text, CodePage codePage);

/// The first `length` code units of `text` (fewer at an earlier NUL) in `codePage`; a character
/// that has no byte there (and half a surrogate pair) as "?".
std::string FromSapText(const SapChar* text, std::size_t length, CodePage codePage);

}  // namespace kelvoran

#endif
