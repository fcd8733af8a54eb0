// "sapnwrfc.ini", the simulated NW RFC library's file of destinations: any text is read without
// fault, every destination read has a name and is found by it, its keys are upper case and each
// given once, its values carry no blanks at either end and no line break.
#include "simnwrfc/nwrfc_ini.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kelvoran;
  const std::string text = fuzz::Text(data, size);
  const std::vector<simnwrfc::IniDestination> destinations = simnwrfc::ParseNwRfcIni(text);
  for (const simnwrfc::IniDestination& destination : destinations) {
    if (destination.name.empty()) fuzz::Violation("a destination without a name", text);
    if (simnwrfc::FindIniDestination(destinations, destination.name) != &destination) {
      fuzz::Violation("a destination is read twice or not found by its name", destination.name);
    }
    for (std::size_t i = 0; i < destination.values.size(); ++i) {
      const auto& [key, value] = destination.values[i];
      if (key.empty() || key == "DEST") fuzz::Violation("an empty key or DEST as a value", key);
      for (char c : key) {
        if (c >= 'a' && c <= 'z') fuzz::Violation("a key not in upper case", key);
      }
      for (std::size_t j = 0; j < i; ++j) {
        if (destination.values[j].first == key) fuzz::Violation("a key given twice", key);
      }
      if (value.find_first_of("\r\n") != std::string::npos ||
          (!value.empty() && (value.front() == ' ' || value.back() == ' ' ||
                              value.front() == '\t' || value.back() == '\t'))) {
        fuzz::Violation("a value with a line break or blanks at its ends", value);
      }
    }
  }
  return 0;
}
