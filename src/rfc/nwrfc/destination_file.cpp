#include "rfc/nwrfc/destination_file.h"

#include <set>
#include <vector>

namespace kelvoran {

namespace {

struct KeyMapping {
  const char* classic;
  const char* nw;  // null: checked, not written
};

// The keys of the classic saprfc.ini that sapnwrfc.ini has too, with the NW name.
constexpr KeyMapping kKeys[] = {
    {"ASHOST", "ASHOST"},     {"SYSNR", "SYSNR"},           {"GWHOST", "GWHOST"},
    {"GWSERV", "GWSERV"},     {"MSHOST", "MSHOST"},         {"MSSERV", "MSSERV"},
    {"R3NAME", "R3NAME"},     {"GROUP", "GROUP"},           {"SAPROUTER", "SAPROUTER"},
    {"CODEPAGE", "CODEPAGE"}, {"ABAP_DEBUG", "ABAP_DEBUG"}, {"USE_SAPGUI", "USE_SAPGUI"},
    {"RFC_TRACE", "TRACE"},   {"TYPE", nullptr}};

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::string Upper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}

// A key as a message may name it: letters, digits and '_', at most 30 of them; anything else
// could be part of a value.
std::string Named(const std::string& key) {
  if (key.empty() || key.size() > 30) return "a key";
  for (char c : key) {
    const bool plain = (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
    if (!plain) return "a key";
  }
  return "the key " + key;
}

bool HasControlCharacter(std::string_view text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return true;
  }
  return false;
}

}  // namespace

TranslatedDestinations TranslateDestinationFile(std::string_view text,
                                                std::string_view fileName) {
  TranslatedDestinations result;
  auto fail = [&result](std::size_t line, const std::string& what) {
    result.ini.clear();
    result.error = "line " + std::to_string(line) + ": " + what;
    return result;
  };
  if (text.size() > kDestinationFileLimit) {
    return fail(0, "the file is longer than " + std::to_string(kDestinationFileLimit) + " bytes");
  }
  std::string ini = "# sapnwrfc.ini, written by Kelvoran from " + std::string(fileName) +
                    " for the measurement through it.\n";
  bool inEntry = false;
  std::set<std::string> keysOfEntry;
  std::size_t number = 0;
  for (std::size_t at = 0; at <= text.size();) {
    std::size_t end = text.find('\n', at);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = Trimmed(text.substr(at, end - at));
    at = end + 1;
    ++number;
    if (line.empty() || line.front() == '#' || line.front() == '*') continue;
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) return fail(number, "not KEY=value");
    const std::string key = Upper(Trimmed(line.substr(0, equals)));
    const std::string_view value = Trimmed(line.substr(equals + 1));
    if (HasControlCharacter(value)) return fail(number, "a value holds a control character");
    if (key == "DEST") {
      if (value.empty()) return fail(number, "DEST= without a name");
      if (inEntry) ini += "\n";
      ini += "DEST=" + std::string(value) + "\n";
      inEntry = true;
      keysOfEntry.clear();
      continue;
    }
    if (!inEntry) return fail(number, Named(key) + " before the first DEST=");
    const KeyMapping* mapping = nullptr;
    for (const KeyMapping& candidate : kKeys) {
      if (key == candidate.classic) mapping = &candidate;
    }
    if (mapping == nullptr) {
      return fail(number, Named(key) + " has no counterpart in " + kNwRfcIniName);
    }
    if (!keysOfEntry.insert(key).second) return fail(number, Named(key) + " is given twice");
    if (mapping->nw == nullptr) {
      const std::string type = Upper(value);
      if (type != "A" && type != "B" && type != "2") {
        return fail(number, "TYPE= other than A, B or 2 has no counterpart in " +
                                std::string(kNwRfcIniName));
      }
      continue;
    }
    ini += std::string(mapping->nw) + "=" + std::string(value) + "\n";
  }
  result.ini = std::move(ini);
  return result;
}

}  // namespace kelvoran
