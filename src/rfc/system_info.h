/// The system information check: which host and database system the connected SAP system
/// reports (function module RFC_SYSTEM_INFO).
#ifndef KELVORAN_RFC_SYSTEM_INFO_H
#define KELVORAN_RFC_SYSTEM_INFO_H

#include "rfc/connection.h"

namespace kelvoran {

struct RunContext;

/// On success sets `callStatus` to "OK" and takes `displayHost` and `databaseSystem` from the
/// answer; on failure appends the numbered message to the output buffer. Returns the result:
/// 0 on success, the library's code otherwise.
int CheckSystemInfo(RunContext& ctx, ConnectionHandle handle);

}  // namespace kelvoran

#endif
