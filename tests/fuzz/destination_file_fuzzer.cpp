// A user's per-destination file turned into sapnwrfc.ini for the NW RFC library: refused with a
// message that quotes no value, or turned into a file whose every line the library reads.
#include <algorithm>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_support.h"
#include "rfc/nwrfc/destination_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kelvoran;
  const std::string text = fuzz::Text(data, size);
  const TranslatedDestinations result = TranslateDestinationFile(text, "SapRfc.FUZ");
  if (!result.error.empty()) {
    if (!result.ini.empty()) fuzz::Violation("refused, but a file written", result.ini);
    // A value of four characters or more in the message was quoted, unless the message of the
    // same file with that value's characters changed still holds it (it is then a key or fixed
    // text).
    std::size_t at = 0;
    while (at < text.size()) {
      const std::size_t end = std::min(text.find('\n', at), text.size());
      const std::size_t equals = text.find('=', at);
      if (equals < end) {
        const std::string value = text.substr(equals + 1, end - equals - 1);
        if (value.size() >= 4 && result.error.find(value) != std::string::npos) {
          std::string changed = text;
          for (std::size_t i = equals + 1; i < end; ++i) {
            if (changed[i] != '=' && changed[i] != '\r') {
              changed[i] = changed[i] == 'q' ? 'j' : 'q';
            }
          }
          const std::string other = TranslateDestinationFile(changed, "SapRfc.FUZ").error;
          if (other.find(value) == std::string::npos) {
            fuzz::Violation("message quotes a value: " + value, result.error);
          }
        }
      }
      at = end + 1;
    }
    return 0;
  }
  // Every line: a comment, empty (between entries), or KEY=value with a key in upper case and
  // a value without control characters; the first key line of an entry is DEST=.
  bool inEntry = false;
  std::size_t at = 0;
  while (at < result.ini.size()) {
    const std::size_t end = std::min(result.ini.find('\n', at), result.ini.size());
    const std::string line = result.ini.substr(at, end - at);
    at = end + 1;
    if (line.empty()) {
      inEntry = false;
      continue;
    }
    if (line[0] == '#') continue;
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos || equals == 0) fuzz::Violation("line is no KEY=value", line);
    const std::string key = line.substr(0, equals);
    if (key.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_") != std::string::npos) {
      fuzz::Violation("key not in upper case", line);
    }
    if (!inEntry && key != "DEST") fuzz::Violation("entry does not begin with DEST=", line);
    inEntry = true;
    for (char c : line) {
      if (static_cast<unsigned char>(c) < 0x20) fuzz::Violation("control character", line);
    }
  }
  return 0;
}
