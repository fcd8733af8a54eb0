/// Opening and closing connections to the simulated systems, the two ways the classic RFC
/// library offers, and the logon check.
#ifndef KELVORAN_SIMRFC_CONNECTIONS_H
#define KELVORAN_SIMRFC_CONNECTIONS_H

#include <optional>
#include <string>

#include "library.h"
#include "sap_declarations.h"

namespace simrfc {

/// RfcOpen: reaches a system by application server host and system number (mode 0) or by
/// gateway host and service (mode 1). The logon is checked at the connection's first call.
RFC_HANDLE OpenWithOptions(Library& library, const RFC_OPTIONS* options);

/// RfcOpenEx: reaches the destination named by DEST= through SapRfc.ini and checks the logon
/// data of the connect string at once.
RFC_HANDLE OpenWithConnectString(Library& library, const char* connectString,
                                RFC_ERROR_INFO_EX* errorInfo);

/// RfcClose: the null handle is accepted silently; an unknown or closed handle is a misuse.
void CloseConnection(Library& library, RFC_HANDLE handle);

/// The open connection behind `handle`, or null after recording why `operation` cannot use it.
Connection* UsableConnection(Library& library, RFC_HANDLE handle, const char* operation);

/// Why `system` refuses the logon, or nothing. `user` compares without regard to letter case,
/// `password` exactly; both come without trailing blanks.
std::optional<LibraryError> CheckLogon(const SystemEntry& system, const std::string& client,
                                       const std::string& user, const std::string& password);

}  // namespace simrfc

#endif
