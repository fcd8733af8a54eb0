// A strict well-formedness check of an XML 1.0 document, as a host's parser applies it to what
// the probe prints: one root element, elements with attributes, character data, the five
// predefined entities and character references, and only characters of the Char production.
//
// Not needed by the probe and therefore not supported (reported as not well-formed): an XML or
// document type declaration, comments, processing instructions and CDATA sections.
//
// The document declares no encoding, so it is UTF-8: it must be well-formed UTF-8 (shortest
// forms, no surrogates, nothing beyond U+10FFFF), and every character it encodes must be one of
// the Char production (so not U+FFFE or U+FFFF).
//
// Header only, so that the fuzz harnesses use it without the test framework.
#ifndef KELVORAN_TESTS_SUPPORT_XML_CHECK_H
#define KELVORAN_TESTS_SUPPORT_XML_CHECK_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kelvoran {

namespace xml_check_detail {

inline bool IsXmlChar(std::uint32_t c) {
  return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
         (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

inline bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

inline bool IsNameStart(char c) {
  const auto b = static_cast<unsigned char>(c);
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == ':' || b >= 0x80;
}

inline bool IsNameChar(char c) {
  return IsNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
}

class Checker {
 public:
  explicit Checker(std::string_view text) : text_(text) {}

  std::string Run() {
    if (!Utf8()) return error_;
    SkipSpace();
    if (AtEnd()) return Error("no root element");
    if (Peek() != '<') return Error("text before the root element");
    if (!Element()) return error_;
    SkipSpace();
    if (!AtEnd()) return Error("content after the root element");
    return "";
  }

 private:
  bool AtEnd() const { return at_ >= text_.size(); }
  char Peek() const { return text_[at_]; }
  bool LooksAt(std::string_view piece) const { return text_.substr(at_, piece.size()) == piece; }

  std::string Error(const std::string& what) {
    if (error_.empty()) error_ = what + " at byte " + std::to_string(at_);
    return error_;
  }
  bool Fail(const std::string& what) {
    Error(what);
    return false;
  }

  void SkipSpace() {
    while (!AtEnd() && IsSpace(Peek())) ++at_;
  }

  bool Name(std::string& name) {
    if (AtEnd() || !IsNameStart(Peek())) return Fail("expected a name");
    const std::size_t begin = at_;
    while (!AtEnd() && IsNameChar(Peek())) ++at_;
    name.assign(text_.substr(begin, at_ - begin));
    return true;
  }

  // The whole document as UTF-8, decoded on its own, before its structure is read.
  bool Utf8() {
    for (at_ = 0; at_ < text_.size();) {
      const auto lead = static_cast<unsigned char>(text_[at_]);
      if (lead < 0x80) {
        ++at_;
        continue;
      }
      std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
      std::uint32_t value = lead & (lead >= 0xF0 ? 0x07 : lead >= 0xE0 ? 0x0F : 0x1F);
      if (lead < 0xC0 || lead > 0xF7 || text_.size() - at_ < length) {
        return Fail("byte 0x" + Hex(lead) + " begins no UTF-8 character");
      }
      for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text_[at_ + i]);
        if ((next & 0xC0) != 0x80) return Fail("UTF-8 character cut short");
        value = value << 6 | (next & 0x3F);
      }
      const std::uint32_t shortest = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
      if (value < shortest) return Fail("UTF-8 character not in its shortest form");
      if (!IsXmlChar(value)) return Fail("character U+" + Hex(value) + " not allowed in XML");
      at_ += length;
    }
    at_ = 0;
    return true;
  }

  // One character of text: below 0x80 it must be a Char; from 0x80 up it is checked as UTF-8.
  bool TextCharacter() {
    const auto b = static_cast<unsigned char>(Peek());
    if (b < 0x80 && !IsXmlChar(b)) return Fail("character 0x" + Hex(b) + " not allowed in XML");
    ++at_;
    return true;
  }

  static std::string Hex(unsigned value) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string hex;
    do {
      hex.insert(hex.begin(), kDigits[value % 16]);
      value /= 16;
    } while (value != 0);
    return hex;
  }

  // After '&': a predefined entity or a character reference, up to its ';'.
  bool Reference() {
    ++at_;
    if (!AtEnd() && Peek() == '#') {
      ++at_;
      const bool hex = !AtEnd() && Peek() == 'x';
      if (hex) ++at_;
      std::uint32_t value = 0;
      std::size_t digits = 0;
      while (!AtEnd() && Peek() != ';') {
        const char c = Peek();
        int digit = -1;
        if (c >= '0' && c <= '9') digit = c - '0';
        if (hex && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        if (hex && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        if (digit < 0) return Fail("bad character reference");
        value = value * (hex ? 16 : 10) + static_cast<std::uint32_t>(digit);
        if (value > 0x10FFFF) return Fail("character reference out of range");
        ++digits;
        ++at_;
      }
      if (AtEnd() || digits == 0) return Fail("unterminated character reference");
      ++at_;
      if (!IsXmlChar(value)) return Fail("character reference to a character not allowed");
      return true;
    }
    std::string name;
    if (!Name(name)) return Fail("'&' not followed by a reference");
    if (AtEnd() || Peek() != ';') return Fail("entity reference without ';'");
    ++at_;
    if (name != "lt" && name != "gt" && name != "amp" && name != "apos" && name != "quot") {
      return Fail("undeclared entity '" + name + "'");
    }
    return true;
  }

  bool AttributeValue() {
    if (AtEnd() || (Peek() != '"' && Peek() != '\'')) return Fail("attribute value not quoted");
    const char quote = Peek();
    ++at_;
    while (!AtEnd() && Peek() != quote) {
      if (Peek() == '<') return Fail("'<' in an attribute value");
      if (Peek() == '&') {
        if (!Reference()) return false;
      } else if (!TextCharacter()) {
        return false;
      }
    }
    if (AtEnd()) return Fail("unterminated attribute value");
    ++at_;
    return true;
  }

  // At '<' of a start tag: the whole element, with its content and end tag.
  bool Element() {
    ++at_;
    std::string name;
    if (!Name(name)) return false;
    std::vector<std::string> attributes;
    for (;;) {
      const std::size_t before = at_;
      SkipSpace();
      if (AtEnd()) return Fail("unterminated start tag");
      if (LooksAt("/>")) {
        at_ += 2;
        return true;
      }
      if (Peek() == '>') {
        ++at_;
        break;
      }
      if (at_ == before) return Fail("attribute not separated by a blank");
      std::string attribute;
      if (!Name(attribute)) return false;
      for (const std::string& earlier : attributes) {
        if (earlier == attribute) return Fail("attribute '" + attribute + "' given twice");
      }
      attributes.push_back(attribute);
      SkipSpace();
      if (AtEnd() || Peek() != '=') return Fail("attribute without '='");
      ++at_;
      SkipSpace();
      if (!AttributeValue()) return false;
    }
    return Content(name);
  }

  // After a start tag: character data, child elements and references, then the end tag.
  bool Content(const std::string& name) {
    for (;;) {
      if (AtEnd()) return Fail("element '" + name + "' not closed");
      const char c = Peek();
      if (c == '<') {
        if (LooksAt("</")) {
          at_ += 2;
          std::string closing;
          if (!Name(closing)) return false;
          if (closing != name) return Fail("'" + closing + "' closes '" + name + "'");
          SkipSpace();
          if (AtEnd() || Peek() != '>') return Fail("unterminated end tag");
          ++at_;
          return true;
        }
        if (LooksAt("<!") || LooksAt("<?")) {
          return Fail("comment, CDATA section or processing instruction");
        }
        if (!Element()) return false;
      } else if (c == '&') {
        if (!Reference()) return false;
      } else if (LooksAt("]]>")) {
        return Fail("']]>' in character data");
      } else if (!TextCharacter()) {
        return false;
      }
    }
  }

  std::string_view text_;
  std::size_t at_ = 0;
  std::string error_;
};

}  // namespace xml_check_detail

/// Empty when `document` is a well-formed XML 1.0 document; otherwise what is wrong and where.
inline std::string XmlWellFormednessError(std::string_view document) {
  return xml_check_detail::Checker(document).Run();
}

}  // namespace kelvoran

#endif
