/// sapnwrfc.ini, the library's file of destinations: sections that begin with DEST=<name> and
/// end at an empty line, KEY=value lines, comments beginning with '#', '/*' or '//'.
#ifndef KELVORAN_SIMNWRFC_NWRFC_INI_H
#define KELVORAN_SIMNWRFC_NWRFC_INI_H

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace simnwrfc {

/// The fixed name of the file, in the working directory or the directory RfcSetIniPath names.
inline constexpr const char* kNwRfcIniFileName = "sapnwrfc.ini";

struct IniDestination {
  std::string name;
  /// The section's values: keys in upper case, values as written without blanks around them;
  /// each key once, as first given.
  std::vector<std::pair<std::string, std::string>> values;
};

/// Reads the destinations of the file's `text`. Like SAP's library it refuses nothing: a line it
/// cannot use (no '=', an empty key, a key outside a section) is passed over, a destination
/// given again is ignored after its first section.
std::vector<IniDestination> ParseNwRfcIni(std::string_view text);

/// The destination called `name` (exact spelling), or null.
const IniDestination* FindIniDestination(const std::vector<IniDestination>& destinations,
                                         std::string_view name);

}  // namespace simnwrfc

#endif
