// "SapRfc.ini", the library's file of destinations: read without fault or with a message that
// names the line, and no message quotes a PASSWD= value.
#include "rfc_ini.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kelvoran;
  const std::string text = fuzz::Text(data, size);
  const simrfc::RfcIniResult result = simrfc::ParseRfcIni(text, "SapRfc.ini");
  if (!result.error.empty() && result.error.rfind("SapRfc.ini line ", 0) != 0) {
    fuzz::Violation("message does not name the line", result.error);
  }
  if (!result.error.empty()) {
    std::string upper = text;
    for (char& c : upper) {
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    for (std::size_t at = upper.find("PASSWD="); at != std::string::npos;
         at = upper.find("PASSWD=", at + 1)) {
      const std::size_t end = text.find_first_of(" \t\r\n", at + 7);
      const std::string value = text.substr(at + 7, end == std::string::npos ? end : end - at - 7);
      if (value.size() >= 4 && result.error.find("PASSWD=" + value) != std::string::npos) {
        fuzz::Violation("message quotes a PASSWD= value", result.error);
      }
    }
  }
  for (const simrfc::RfcDestination& destination : result.destinations) {
    if (simrfc::FindDestination(result.destinations, destination.name) == nullptr) {
      fuzz::Violation("a destination read is not found by its name", destination.name);
    }
  }
  return 0;
}
