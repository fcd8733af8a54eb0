/// The host program that reads the probe's output, and the document form it gets.
#ifndef KELVORAN_OUTPUT_HOST_FLAVOUR_H
#define KELVORAN_OUTPUT_HOST_FLAVOUR_H

#include <optional>
#include <string_view>

namespace kelvoran {

enum class HostFlavour {
  ExeXml,   ///< PRTG Network Monitor, EXE/XML custom sensor (the default); XML
  Quellon,  ///< XML
  Vistrel,  ///< XML
  Brennick, ///< text lines, at most ten channels
  Tolvane,  ///< text lines, one channel can be selected with "CH="
};

/// The flavour's name as the host knows it ("EXEXML", "Quellon", ...).
const char* HostFlavourName(HostFlavour flavour);

/// Finds a flavour by its name, without regard to letter case.
std::optional<HostFlavour> FindHostFlavour(std::string_view name);

inline bool IsXmlFlavour(HostFlavour flavour) {
  return flavour == HostFlavour::ExeXml || flavour == HostFlavour::Quellon ||
         flavour == HostFlavour::Vistrel;
}

}  // namespace kelvoran

#endif
