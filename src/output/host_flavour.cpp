#include "output/host_flavour.h"

#include <cctype>

namespace kelvoran {

namespace {

constexpr HostFlavour kAllFlavours[] = {HostFlavour::ExeXml, HostFlavour::Quellon,
                                        HostFlavour::Vistrel, HostFlavour::Brennick,
                                        HostFlavour::Tolvane};

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::toupper(static_cast<unsigned char>(a[i])) !=
        std::toupper(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

}  // namespace

const char* HostFlavourName(HostFlavour flavour) {
  switch (flavour) {
    case HostFlavour::ExeXml: return "EXEXML";
    case HostFlavour::Quellon: return "Quellon";
    case HostFlavour::Vistrel: return "Vistrel";
    case HostFlavour::Brennick: return "Brennick";
    case HostFlavour::Tolvane: return "Tolvane";
  }
  return "EXEXML";
}

std::optional<HostFlavour> FindHostFlavour(std::string_view name) {
  for (HostFlavour flavour : kAllFlavours) {
    if (EqualsIgnoringCase(name, HostFlavourName(flavour))) return flavour;
  }
  return std::nullopt;
}

}  // namespace kelvoran
