#include "nwrfc_ini.h"

#include "simsap/landscape.h"
#include "simsap/text.h"

namespace simnwrfc {

namespace {

bool IsComment(std::string_view line) {
  return line.substr(0, 1) == "#" || line.substr(0, 2) == "/*" || line.substr(0, 2) == "//";
}

// The lines of `text`, ended by LF, CR LF or a lone CR: a value never holds a line break.
std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const std::size_t end = text.find_first_of("\r\n");
    lines.push_back(text.substr(0, end));
    if (end == std::string_view::npos) break;
    const bool crLf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
    text.remove_prefix(end + (crLf ? 2 : 1));
  }
  return lines;
}

}  // namespace

std::vector<IniDestination> ParseNwRfcIni(std::string_view text) {
  std::vector<IniDestination> destinations;
  // The section the lines belong to, or null outside one (and in a destination's section
  // given again).
  IniDestination* current = nullptr;
  for (std::string_view raw : Lines(simsap::WithoutByteOrderMark(text))) {
    const std::string line = simsap::Trim(raw);
    if (line.empty()) {
      current = nullptr;
      continue;
    }
    if (IsComment(line)) continue;
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos) continue;
    const std::string key = simsap::ToUpper(simsap::Trim(line.substr(0, equals)));
    std::string value = simsap::Trim(line.substr(equals + 1));
    if (key == "DEST") {
      current = nullptr;
      if (value.empty() || FindIniDestination(destinations, value) != nullptr) continue;
      destinations.push_back(IniDestination{std::move(value), {}});
      current = &destinations.back();
      continue;
    }
    if (current == nullptr || key.empty()) continue;
    bool known = false;
    for (const auto& [earlier, given] : current->values) known = known || earlier == key;
    if (!known) current->values.emplace_back(key, std::move(value));
  }
  return destinations;
}

const IniDestination* FindIniDestination(const std::vector<IniDestination>& destinations,
                                         std::string_view name) {
  for (const IniDestination& destination : destinations) {
    if (destination.name == name) return &destination;
  }
  return nullptr;
}

}  // namespace simnwrfc
