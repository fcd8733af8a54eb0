#include "connect_string.h"

#include "simulated_systems.h"

namespace simrfc {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

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

  // SAP's rule: blank-separated KEY=value words; a value that holds blanks is set in double
  // quotes and runs to the next double quote.
  std::size_t at = 0;
  for (unsigned word = 1;; ++word) {
    while (at < text.size() && IsBlank(text[at])) ++at;
    if (at == text.size()) break;
    const std::string position = "word " + std::to_string(word) + " of the connect string";
    std::size_t end = at;
    while (end < text.size() && !IsBlank(text[end]) && text[end] != '=') ++end;
    if (end == text.size() || text[end] != '=') return position + " is not KEY=value";
    const std::string name = ToUpper(std::string(text.substr(at, end - at)));
    at = end + 1;
    std::string value;
    if (at < text.size() && text[at] == '"') {
      const std::size_t close = text.find('"', at + 1);
      if (close == std::string_view::npos) return position + " opens a quote that is not closed";
      value = std::string(text.substr(at + 1, close - at - 1));
      at = close + 1;
      if (at < text.size() && !IsBlank(text[at])) {
        return position + " goes on after its closing quote";
      }
    } else {
      end = at;
      while (end < text.size() && !IsBlank(text[end])) ++end;
      value = std::string(text.substr(at, end - at));
      at = end;
    }
    Key* key = nullptr;
    for (Key& candidate : keys) {
      if (name == candidate.name) key = &candidate;
    }
    if (key == nullptr) {
      return position + " has an unknown key (known are CLIENT, USER, PASSWD, LANG and DEST)";
    }
    if (key->seen) return std::string(key->name) + "= is given twice in the connect string";
    key->seen = true;
    *key->value = std::move(value);
  }
  return std::nullopt;
}

}  // namespace simrfc
