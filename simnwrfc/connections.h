/// Opening and closing connections to the simulated systems.
#ifndef KELVORAN_SIMNWRFC_CONNECTIONS_H
#define KELVORAN_SIMNWRFC_CONNECTIONS_H

#include "library.h"
#include "nwrfc_declarations.h"
#include "nwrfc_error.h"

namespace simnwrfc {

/// RfcOpenConnection: the connection parameters (with a destination's values from
/// sapnwrfc.ini), the system at the application server, its delays and faults, the logon.
/// Null with `error` set when the connection is refused.
RFC_CONNECTION_HANDLE OpenConnection(Library& library, const RFC_CONNECTION_PARAMETER* parameters,
                                     unsigned count, NwError& error);

/// RfcCloseConnection; a connection the partner closed after a failure is forgotten, but
/// answers RFC_INVALID_HANDLE like every other call on it.
RFC_RC CloseConnection(Library& library, RFC_CONNECTION_HANDLE handle, NwError& error);

}  // namespace simnwrfc

#endif
