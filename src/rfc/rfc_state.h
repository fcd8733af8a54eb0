/// What the RFC side keeps for the whole process: the connection's copies of the profile fields,
/// this process's per-destination copy, and the state of the SAP library the probe is built
/// with, which only that library's folder (src/rfc/classic/, src/rfc/nwrfc/) knows.
#ifndef KELVORAN_RFC_RFC_STATE_H
#define KELVORAN_RFC_RFC_STATE_H

#include <atomic>
#include <memory>
#include <string>

namespace kelvoran {

/// The connection's own copies of the profile fields; the records handed to the library point
/// at these, never at the profile itself.
struct ConnectionCopies {
  std::string destination, client, user, password, language, mode, hostname, sysnr, gwhost,
      gwservice;
};

/// The state of the library the probe is built with (its records, handles and last error),
/// defined in that library's folder.
struct LibraryState;
struct LibraryStateDeleter {
  void operator()(LibraryState* state) const;
};
using LibraryStatePtr = std::unique_ptr<LibraryState, LibraryStateDeleter>;
/// A fresh state of the library; defined in the library's folder.
LibraryStatePtr MakeLibraryState();

struct RfcState {
  ConnectionCopies copies;
  LibraryStatePtr library = MakeLibraryState();
  /// This process's own name for its copy of a per-destination file, fixed on first use, and
  /// whether such a copy may be on disk (read by an ending on another thread, the deadline's).
  std::string temporaryIni;
  std::atomic<bool> temporaryIniPresent{false};
  /// Why the last open gave up before the library could open (its configuration file could
  /// not be put in place, say); empty when the library itself refused or opened.
  std::string openFailure;
};

}  // namespace kelvoran

#endif
