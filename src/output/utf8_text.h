/// Texts from outside the probe as UTF-8, which is what an XML document without an encoding
/// declaration is.
///
/// SAP's classic library delivers SAP's texts in the Windows code page (a German message's "ü"
/// is the one byte 0xFC), and profile, listing and destination names are whatever bytes their
/// files hold. A byte from 0x80 up that is not part of valid UTF-8 would make the host's parser
/// reject the whole document.
#ifndef KELVORAN_OUTPUT_UTF8_TEXT_H
#define KELVORAN_OUTPUT_UTF8_TEXT_H

#include <cstddef>
#include <string>
#include <string_view>

namespace kelvoran {

/// The length of the UTF-8 sequence that begins at `at`, when it is well-formed (shortest
/// form, no surrogate, at most U+10FFFF) and encodes a character that XML allows (not U+FFFE
/// or U+FFFF); otherwise 0. A byte below 0x80 is a sequence of 1.
std::size_t Utf8SequenceLength(std::string_view text, std::size_t at);

/// The character that `byte` is in Windows-1252 (its Unicode number); 0 for the five bytes that
/// Windows-1252 leaves unassigned (0x81, 0x8D, 0x8F, 0x90, 0x9D).
char32_t Windows1252Character(unsigned char byte);

/// Appends the character that `byte` (0x80 or above) is in Windows-1252, in UTF-8; "?" for the
/// five bytes that Windows-1252 leaves unassigned (0x81, 0x8D, 0x8F, 0x90, 0x9D).
void AppendWindows1252AsUtf8(std::string& out, unsigned char byte);

}  // namespace kelvoran

#endif
