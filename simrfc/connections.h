/// Opening and closing connections to the simulated systems, the two ways the classic RFC
/// library offers, and the logon check.
#ifndef KELVORAN_SIMRFC_CONNECTIONS_H
#define KELVORAN_SIMRFC_CONNECTIONS_H

#include <optional>
#include <string>

#include "library.h"
#include "rfc/rfc_library.h"

namespace simrfc {

/// RfcOpen: reaches a system by application server host and system number (mode 0) or by
/// gateway host and service (mode 1). The logon is checked at the connection's first call.
RfcHandle OpenWithOptions(Library& library, const ConnectionOptions* options);

/// RfcOpenEx: reaches the destination named by DEST= through SapRfc.ini and checks the logon
/// data of the connect string at once.
RfcHandle OpenWithConnectString(Library& library, const char* connectString,
                                RfcOpenErrorInfo* errorInfo);

/// RfcClose: the null handle is accepted silently; an unknown or closed handle is a misuse.
void CloseConnection(Library& library, RfcHandle handle);

/// The open connection behind `handle`, or null after recording why `operation` cannot use it.
Connection* UsableConnection(Library& library, RfcHandle handle, const char* operation);

/// Why `system` refuses the logon, or nothing. `user` compares without regard to letter case,
/// `password` exactly; both come without trailing blanks.
std::optional<LibraryError> CheckLogon(const SystemEntry& system, const std::string& client,
                                       const std::string& user, const std::string& password);

}  // namespace simrfc

#endif
