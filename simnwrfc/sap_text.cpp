#include "sap_text.h"

namespace simnwrfc {

namespace {

// The length of the valid UTF-8 sequence at the start of `bytes` and its character, or 0.
std::size_t DecodeUtf8(std::string_view bytes, char32_t& character) {
  const auto byte = [&bytes](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
  const unsigned char lead = byte(0);
  std::size_t length;
  char32_t value;
  if (lead < 0x80) {
    character = lead;
    return 1;
  } else if (lead >= 0xc2 && lead <= 0xdf) {
    length = 2;
    value = lead & 0x1f;
  } else if (lead >= 0xe0 && lead <= 0xef) {
    length = 3;
    value = lead & 0x0f;
  } else if (lead >= 0xf0 && lead <= 0xf4) {
    length = 4;
    value = lead & 0x07;
  } else {
    return 0;
  }
  if (bytes.size() < length) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xc0) != 0x80) return 0;
    value = (value << 6) | (byte(i) & 0x3f);
  }
  // Overlong forms, surrogates and values beyond U+10FFFF are not UTF-8.
  static const char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (value < kSmallest[length] || (value >= 0xd800 && value <= 0xdfff) || value > 0x10ffff) {
    return 0;
  }
  character = value;
  return length;
}

char16_t UpperAscii(char16_t c) { return c >= u'a' && c <= u'z' ? c - u'a' + u'A' : c; }

}  // namespace

std::u16string Widen(std::string_view bytes) {
  std::u16string text;
  text.reserve(bytes.size());
  while (!bytes.empty()) {
    char32_t character = 0;
    std::size_t length = DecodeUtf8(bytes, character);
    if (length == 0) {
      character = static_cast<unsigned char>(bytes[0]);
      length = 1;
    }
    if (character >= 0x10000) {
      character -= 0x10000;
      text += static_cast<char16_t>(0xd800 + (character >> 10));
      text += static_cast<char16_t>(0xdc00 + (character & 0x3ff));
    } else {
      text += static_cast<char16_t>(character);
    }
    bytes.remove_prefix(length);
  }
  return text;
}

std::string Narrow(std::u16string_view text) {
  std::string bytes;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xd800 && c <= 0xdbff && i + 1 < text.size() && text[i + 1] >= 0xdc00 &&
        text[i + 1] <= 0xdfff) {
      c = 0x10000 + ((c - 0xd800) << 10) + (text[i + 1] - 0xdc00);
      ++i;
    } else if (c >= 0xd800 && c <= 0xdfff) {
      c = 0xfffd;
    }
    if (c < 0x80) {
      bytes += static_cast<char>(c);
    } else if (c < 0x800) {
      bytes += static_cast<char>(0xc0 | (c >> 6));
      bytes += static_cast<char>(0x80 | (c & 0x3f));
    } else if (c < 0x10000) {
      bytes += static_cast<char>(0xe0 | (c >> 12));
      bytes += static_cast<char>(0x80 | ((c >> 6) & 0x3f));
      bytes += static_cast<char>(0x80 | (c & 0x3f));
    } else {
      bytes += static_cast<char>(0xf0 | (c >> 18));
      bytes += static_cast<char>(0x80 | ((c >> 12) & 0x3f));
      bytes += static_cast<char>(0x80 | ((c >> 6) & 0x3f));
      bytes += static_cast<char>(0x80 | (c & 0x3f));
    }
  }
  return bytes;
}

std::u16string FromSap(const SAP_UC* text) {
  std::u16string result;
  if (text == nullptr) return result;
  for (; *text != 0; ++text) result += static_cast<char16_t>(*text);
  return result;
}

void PutUnits(SAP_UC* target, std::u16string_view text, std::size_t length) {
  for (std::size_t i = 0; i < length && i < text.size(); ++i) {
    target[i] = static_cast<SAP_UC>(text[i]);
  }
}

void CopyToSap(SAP_UC* target, std::size_t size, std::u16string_view text) {
  if (size == 0) return;
  const std::size_t length = text.size() < size - 1 ? text.size() : size - 1;
  PutUnits(target, text, length);
  target[length] = 0;
}

bool EqualsNoCase(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (UpperAscii(a[i]) != UpperAscii(b[i])) return false;
  }
  return true;
}

std::u16string ToUpper(std::u16string_view text) {
  std::u16string upper(text);
  for (char16_t& c : upper) c = UpperAscii(c);
  return upper;
}

std::u16string TrimTrailingBlanks(std::u16string_view text) {
  while (!text.empty() && text.back() == u' ') text.remove_suffix(1);
  return std::u16string(text);
}

}  // namespace simnwrfc
