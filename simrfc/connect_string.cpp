#include "connect_string.h"

#include <vector>

#include "text.h"

namespace simrfc {

std::optional<std::string> ParseConnectString(std::string_view text,
                                              ConnectParameters& parameters) {
  struct Key {
    const char* name;
    std::string* value;
    bool seen;
  } keys[] = {{"CLIENT", &parameters.client, false},
              {"USER", &parameters.user, false},
              {"PASSWD", &parameters.password, false},
              {"LANG", &parameters.language, false},
              {"DEST", &parameters.destination, false}};

  const std::vector<std::string> words = SplitWords(text);
  for (std::size_t i = 0; i < words.size(); ++i) {
    const std::string position = "word " + std::to_string(i + 1) + " of the connect string";
    const std::size_t equals = words[i].find('=');
    if (equals == std::string::npos) return position + " is not KEY=value";
    const std::string name = ToUpper(words[i].substr(0, equals));
    Key* key = nullptr;
    for (Key& candidate : keys) {
      if (name == candidate.name) key = &candidate;
    }
    if (key == nullptr) {
      return position + " has an unknown key (known are CLIENT, USER, PASSWD, LANG and DEST)";
    }
    if (key->seen) return std::string(key->name) + "= is given twice in the connect string";
    key->seen = true;
    *key->value = words[i].substr(equals + 1);
  }
  return std::nullopt;
}

}  // namespace simrfc
