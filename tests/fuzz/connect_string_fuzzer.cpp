// The connect string of RfcOpenEx: read, or refused with a message that quotes none of its
// words (a password may be among them).
#include "connect_string.h"

#include <algorithm>
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kelvoran;
  const std::string text = fuzz::Text(data, size);
  simrfc::ConnectParameters parameters;
  const std::optional<std::string> error = simrfc::ParseConnectString(text, parameters);
  if (!error) return 0;
  // A value of four characters or more in the message was quoted, unless the message of the
  // same string with that value's characters changed still holds it (it is then fixed text).
  std::size_t begin = 0;
  while (begin < text.size()) {
    const std::size_t end = std::min(text.find_first_of(" \t", begin), text.size());
    const std::size_t equals = text.find('=', begin);
    const std::size_t from = equals < end ? equals + 1 : begin;
    const std::string value = text.substr(from, end - from);
    if (value.size() >= 4 && error->find(value) != std::string::npos) {
      std::string changed = text;
      for (std::size_t i = from; i < end; ++i) {
        if (changed[i] != '=') changed[i] = changed[i] == 'q' ? 'j' : 'q';
      }
      const std::optional<std::string> other = simrfc::ParseConnectString(changed, parameters);
      if (!other || other->find(value) == std::string::npos) {
        fuzz::Violation("message quotes a value of the connect string: " + value, *error);
      }
    }
    begin = end + 1;
  }
  return 0;
}
