// The simulated library's landscape: read on its own (with the rule that no message quotes a
// password) and then as the answers of the SAP systems that the demo profiles reach, in a
// single-system run of PRD and a global run over the demo systems, in EXEXML.
#include "simsap/indexed_landscape.h"
#include "simsap/landscape.h"
#include "simsap/text.h"
#include "fuzz/fuzz_support.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string UpperCase(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

// A character that may continue a key's name: "LOGON" right after one is the end of another
// key (FAIL_LOGON), whose value is no password.
bool ContinuesKey(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

// The passwords the text may hold: the rest of a line after "LOGON = client user", where
// LOGON is the key itself, wherever it stands (a line break may be lost before it), and the
// word after "PASSWD=".
std::vector<std::pair<std::size_t, std::string>> Passwords(const std::string& text) {
  std::vector<std::pair<std::size_t, std::string>> found;
  const std::string upper = UpperCase(text);
  for (std::size_t at = upper.find("LOGON"); at != std::string::npos;
       at = upper.find("LOGON", at + 1)) {
    if (at > 0 && ContinuesKey(text[at - 1])) continue;
    std::size_t i = at + 5;
    while (i < text.size() && IsBlank(text[i])) ++i;
    if (i >= text.size() || text[i] != '=') continue;
    ++i;
    for (int word = 0; word < 2; ++word) {
      while (i < text.size() && IsBlank(text[i])) ++i;
      while (i < text.size() && !IsBlank(text[i]) && text[i] != '\n') ++i;
    }
    while (i < text.size() && IsBlank(text[i])) ++i;
    std::size_t end = text.find('\n', i);
    if (end == std::string::npos) end = text.size();
    while (end > i && (IsBlank(text[end - 1]) || text[end - 1] == '\r')) --end;
    found.emplace_back(i, text.substr(i, end - i));
  }
  for (std::size_t at = upper.find("PASSWD="); at != std::string::npos;
       at = upper.find("PASSWD=", at + 1)) {
    std::size_t end = at + 7;
    while (end < text.size() && !IsBlank(text[end]) && text[end] != '\n' && text[end] != '\r') {
      ++end;
    }
    found.emplace_back(at + 7, text.substr(at + 7, end - at - 7));
  }
  return found;
}

// A message must not quote a password. A password of a few characters may well stand in a
// message for another reason (the fixed text, another value): it counts as quoted only when the
// message of the same text with that password replaced no longer holds it.
void CheckNoPasswordQuoted(const std::string& text, const std::string& error) {
  for (const auto& [at, password] : Passwords(text)) {
    if (password.size() < 4 || error.find(password) == std::string::npos) continue;
    // The message about a line not quoted names LOGON and PASSWD itself.
    if (std::string_view(simsap::kLineNotQuoted).find(password) != std::string_view::npos) continue;
    std::string changed = text;
    for (std::size_t i = 0; i < password.size(); ++i) {
      char& c = changed[at + i];
      c = c == 'q' ? 'j' : 'q';
    }
    const std::string other = simsap::ParseLandscape(changed, "Landscape.ini").error;
    if (other.find(password) == std::string::npos) {
      kelvoran::fuzz::Violation("message quotes the password '" + password + "'", error);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kelvoran;
  // The library takes the landscape as a C string: it ends at a NUL.
  std::string text = fuzz::Text(data, size);
  text = text.substr(0, text.find('\0'));
  const simsap::LandscapeResult parsed = simsap::ParseLandscape(text, "Landscape.ini");
  std::string indexError;
  const bool indexed =
      simsap::IndexedLandscape::Read(text, "Landscape.ini", indexError).has_value();
  if (indexed != parsed.error.empty() || indexError != parsed.error) {
    fuzz::Violation("the indexed reading disagrees: " + indexError, parsed.error);
  }
  CheckNoPasswordQuoted(text, parsed.error);
  if (!parsed.error.empty()) return 0;

  fuzz::FuzzFileSystem files;
  fuzz::AddDemoFolder(files);
  fuzz::CheckRun(fuzz::RunProbe(files, {"PRD"}, text));
  fuzz::CheckRun(fuzz::RunProbe(files, {"GLOBAL", "DEMO"}, text));
  return 0;
}
