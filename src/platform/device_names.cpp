#include "platform/device_names.h"

#include <cctype>

namespace kelvoran {

namespace {

bool EqualsUpper(std::string_view text, std::string_view upper) {
  if (text.size() != upper.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (std::toupper(static_cast<unsigned char>(text[i])) != upper[i]) return false;
  }
  return true;
}

}  // namespace

bool IsReservedDeviceName(std::string_view path) {
  const std::size_t separator = path.find_last_of("\\/:");
  std::string_view name = separator == std::string_view::npos ? path : path.substr(separator + 1);
  name = name.substr(0, name.find('.'));
  while (!name.empty() && name.back() == ' ') name.remove_suffix(1);

  for (std::string_view device : {"CON", "PRN", "AUX", "NUL"}) {
    if (EqualsUpper(name, device)) return true;
  }
  if (name.size() == 4 && name[3] >= '1' && name[3] <= '9') {
    const std::string_view port = name.substr(0, 3);
    return EqualsUpper(port, "COM") || EqualsUpper(port, "LPT");
  }
  return false;
}

}  // namespace kelvoran
