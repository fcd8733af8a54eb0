#include "text.h"

#include <cstring>
#include <limits>

namespace simsap {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

std::string Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return std::string(text);
}

std::string TrimTrailingBlanks(std::string_view text) {
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return std::string(text);
}

std::string ToUpper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = UpperAscii(c);
  return upper;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (UpperAscii(a[i]) != UpperAscii(b[i])) return false;
  }
  return true;
}

std::vector<std::string> SplitWords(std::string_view text) {
  std::vector<std::string> words;
  std::size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && IsBlank(text[i])) ++i;
    const std::size_t start = i;
    while (i < text.size() && !IsBlank(text[i])) ++i;
    if (i > start) words.emplace_back(text.substr(start, i - start));
  }
  return words;
}

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
  }
  return lines;
}

std::optional<std::int32_t> ParseInt32(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty() || !IsAllDigits(text)) return std::nullopt;
  const long long limit = negative
                              ? -static_cast<long long>(std::numeric_limits<std::int32_t>::min())
                              : std::numeric_limits<std::int32_t>::max();
  long long value = 0;
  for (char c : text) {
    value = value * 10 + (c - '0');
    if (value > limit) return std::nullopt;
  }
  return static_cast<std::int32_t>(negative ? -value : value);
}

namespace {

// Whether `text` holds `word` (upper case) in any letter case; no copy, every line is tested.
bool HoldsNoCase(std::string_view text, std::string_view word) {
  for (std::size_t at = 0; at + word.size() <= text.size(); ++at) {
    if (EqualsNoCase(text.substr(at, word.size()), word)) return true;
  }
  return false;
}

}  // namespace

bool MayHoldPassword(std::string_view line) {
  return HoldsNoCase(line, "LOGON") || HoldsNoCase(line, "PASSWD");
}

bool IsAllDigits(std::string_view text) {
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

std::string OneLine(std::string_view text) {
  std::string line(text);
  for (char& c : line) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = ' ';
  }
  return line;
}

void CopyCut(char* target, std::size_t size, const std::string& text) {
  if (size == 0) return;
  const std::size_t length = text.size() < size - 1 ? text.size() : size - 1;
  std::memcpy(target, text.data(), length);
  target[length] = '\0';
}

std::string FromC(const char* text) { return text != nullptr ? std::string(text) : std::string(); }

}  // namespace simsap
