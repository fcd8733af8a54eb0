// A minimal XML reader for the documents of the probe: elements without attributes, text with
// the five predefined entities, one root element, only white space around it. Enough to tell
// whether PRTG's parser accepts a document and what each element holds.
#ifndef KELVORAN_TESTS_SUPPORT_XML_READER_H
#define KELVORAN_TESTS_SUPPORT_XML_READER_H

#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace kelvoran {

struct Element {
  std::string name;
  std::string text;
  std::vector<Element> children;
  const Element* Child(const std::string& childName) const {
    for (const Element& c : children) {
      if (c.name == childName) return &c;
    }
    return nullptr;
  }
};

class XmlReader {
 public:
  explicit XmlReader(const std::string& text) : s_(text) {}

  std::optional<Element> Document() {
    SkipSpace();
    std::optional<Element> root = ReadElement();
    SkipSpace();
    if (!root || at_ != s_.size()) return std::nullopt;
    return root;
  }

 private:
  void SkipSpace() {
    while (at_ < s_.size() && (s_[at_] == ' ' || s_[at_] == '\t' || s_[at_] == '\n' ||
                               s_[at_] == '\r'))
      ++at_;
  }
  std::optional<std::string> ReadName() {
    const std::size_t start = at_;
    while (at_ < s_.size() && (std::isalnum(static_cast<unsigned char>(s_[at_])) ||
                               s_[at_] == '_' || s_[at_] == '-' || s_[at_] == '.'))
      ++at_;
    if (at_ == start || !std::isalpha(static_cast<unsigned char>(s_[start]))) return std::nullopt;
    return s_.substr(start, at_ - start);
  }
  bool Take(char c) {
    if (at_ >= s_.size() || s_[at_] != c) return false;
    ++at_;
    return true;
  }
  std::optional<Element> ReadElement() {
    if (!Take('<')) return std::nullopt;
    std::optional<std::string> name = ReadName();
    if (!name || !Take('>')) return std::nullopt;
    Element element{*name, "", {}};
    while (at_ < s_.size()) {
      const char c = s_[at_];
      if (c == '<' && at_ + 1 < s_.size() && s_[at_ + 1] == '/') {
        at_ += 2;
        std::optional<std::string> end = ReadName();
        if (!end || *end != element.name || !Take('>')) return std::nullopt;
        return element;
      }
      if (c == '<') {
        std::optional<Element> child = ReadElement();
        if (!child) return std::nullopt;
        element.children.push_back(std::move(*child));
      } else if (c == '&') {
        const std::size_t semicolon = s_.find(';', at_);
        if (semicolon == std::string::npos) return std::nullopt;
        static const std::map<std::string, char> kEntities = {
            {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};
        const auto entity = kEntities.find(s_.substr(at_ + 1, semicolon - at_ - 1));
        if (entity == kEntities.end()) return std::nullopt;
        element.text += entity->second;
        at_ = semicolon + 1;
      } else if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r') {
        return std::nullopt;  // no control character is allowed in XML 1.0
      } else {
        element.text += c;
        ++at_;
      }
    }
    return std::nullopt;
  }

  const std::string& s_;
  std::size_t at_ = 0;
};

// The channels of a PRTG document by name; fails the test when it is not well-formed.
inline std::map<std::string, const Element*> Channels(const Element& root) {
  std::map<std::string, const Element*> channels;
  for (const Element& result : root.children) {
    if (result.name != "Result") continue;
    const Element* name = result.Child("Channel");
    EXPECT_NE(name, nullptr);
    if (name) channels[name->text] = &result;
  }
  return channels;
}

}  // namespace kelvoran

#endif
