/// What the RFC side keeps for the whole process: the connection records handed to the library
/// and the installed structure types.
#ifndef KELVORAN_RFC_RFC_STATE_H
#define KELVORAN_RFC_RFC_STATE_H

#include <atomic>
#include <string>

#include "rfc/rfc_library.h"

namespace kelvoran {

/// The connection's own copies of the profile fields; the records point at these, never at the
/// profile itself.
struct ConnectionCopies {
  std::string destination, client, user, password, language, mode, hostname, sysnr, gwhost,
      gwservice;
};

struct RfcState {
  ConnectionCopies copies;
  ConnectionOptions options{};
  GatewayParameters gateway{};
  /// Keeps its system number between connections when a profile has none.
  ServerParameters server{};
  RfcOpenErrorInfo openError{};
  RfcEnvironmentRecord environment{};
  RfcHandle lastOpened = 0;
  /// Structure types, installed on first use and kept for the process; 0 until then.
  RfcTypeHandle systemInfoType = 0;
  RfcTypeHandle db4InfoType = 0;
  RfcTypeHandle missingObjectType = 0;
  /// This process's own name for its copy of a per-destination file, fixed on first use, and
  /// whether such a copy may be on disk (read by an ending on another thread, the deadline's).
  std::string temporaryIni;
  std::atomic<bool> temporaryIniPresent{false};
};

}  // namespace kelvoran

#endif
