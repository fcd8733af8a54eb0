/// A user's per-destination file ("SapRfc." + destination, in the classic library's saprfc.ini
/// format) turned into sapnwrfc.ini, the NW RFC library's configuration file.
///
/// The classic format: lines of KEY=value (keys in any letter case), an entry beginning with
/// DEST=; blank lines and lines beginning with '#' or '*' are comments. sapnwrfc.ini: an entry
/// begins with DEST= and ends at an empty line; keys in upper case; comments begin with '#'.
#ifndef KELVORAN_RFC_NWRFC_DESTINATION_FILE_H
#define KELVORAN_RFC_NWRFC_DESTINATION_FILE_H

#include <cstddef>
#include <string>
#include <string_view>

namespace kelvoran {

/// The NW RFC library's configuration file, read from the working directory.
inline constexpr const char* kNwRfcIniName = "sapnwrfc.ini";

/// The longest per-destination file taken (its entries are a few short lines).
inline constexpr std::size_t kDestinationFileLimit = 65536;

struct TranslatedDestinations {
  /// The text of sapnwrfc.ini; empty when `error` is set.
  std::string ini;
  /// Empty when the file was turned; otherwise "line <n>: <what is wrong>".
  std::string error;
};

/// Turns the text of a per-destination file into sapnwrfc.ini. Every key the NW RFC library
/// knows keeps its value (RFC_TRACE becomes TRACE); TYPE A (application server), B (message
/// server) and 2 (R/2 through a gateway) are implied by the host keys and not written. A key
/// the NW RFC library does not know, another TYPE, a key given twice in an entry, a key before
/// the first DEST= or a line that is no KEY=value is refused: nothing is dropped silently.
/// The message never quotes a value.
TranslatedDestinations TranslateDestinationFile(std::string_view text,
                                                std::string_view fileName);

}  // namespace kelvoran

#endif
