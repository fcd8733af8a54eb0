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
  // A word of four characters or more in the message was quoted, unless the message of the
  // same string with that word's letters changed (its '=' kept) still holds it.
  std::size_t begin = 0;
  while (begin < text.size()) {
    const std::size_t end = std::min(text.find_first_of(" \t", begin), text.size());
    const std::string word = text.substr(begin, end - begin);
    if (word.size() >= 4 && error->find(word) != std::string::npos) {
      std::string changed = text;
      for (std::size_t i = begin; i < end; ++i) {
        if (changed[i] != '=') changed[i] = changed[i] == 'q' ? 'j' : 'q';
      }
      const std::optional<std::string> other = simrfc::ParseConnectString(changed, parameters);
      if (!other || other->find(word) == std::string::npos) {
        fuzz::Violation("message quotes a word of the connect string: " + word, *error);
      }
    }
    begin = end + 1;
  }
  return 0;
}
