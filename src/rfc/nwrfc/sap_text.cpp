#include "rfc/nwrfc/sap_text.h"

#include "output/utf8_text.h"

namespace kelvoran {

namespace {

// The byte of `c` in `codePage`, or '?' when it has none there.
char ByteOf(char32_t c, CodePage codePage) {
  if (c < 0x80) return static_cast<char>(c);
  if (codePage == CodePage::Latin1) return c <= 0xFF ? static_cast<char>(c) : '?';
  if (c >= 0xA0 && c <= 0xFF) return static_cast<char>(c);
  for (unsigned byte = 0x80; byte < 0xA0; ++byte) {
    const char32_t mapped = Windows1252Character(static_cast<unsigned char>(byte));
    if (mapped != 0 && mapped == c) return static_cast<char>(byte);
  }
  return '?';
}

}  // namespace

SapText ToSapText(std::string_view text, CodePage codePage) {
  SapText converted;
  converted.reserve(text.size());
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    char32_t character = byte;
    if (codePage == CodePage::Windows1252) {
      character = Windows1252Character(byte);
      if (character == 0) character = '?';
    }
    converted += static_cast<SapChar>(character);
  }
  return converted;
}

std::string FromSapText(const SapChar* text, std::size_t length, CodePage codePage) {
  std::string converted;
  converted.reserve(length);
  for (std::size_t i = 0; i < length && text[i] != 0; ++i) {
    const auto unit = static_cast<char32_t>(text[i]);
    // A character beyond U+FFFF (a surrogate pair) has a byte in no 8-bit code page.
    if (unit >= 0xD800 && unit <= 0xDFFF) {
      const bool pair = unit <= 0xDBFF && i + 1 < length && text[i + 1] >= 0xDC00 &&
                        static_cast<char32_t>(text[i + 1]) <= 0xDFFF;
      if (pair) ++i;
      converted += '?';
      continue;
    }
    converted += ByteOf(unit, codePage);
  }
  return converted;
}

}  // namespace kelvoran
