/// The system information check: which host and database system the connected SAP system
/// reports (function module RFC_SYSTEM_INFO).
#ifndef KELVORAN_RFC_SYSTEM_INFO_H
#define KELVORAN_RFC_SYSTEM_INFO_H

#include <cstdint>

#include "rfc/rfc_library.h"

namespace kelvoran {

struct RunContext;

/// Length of the RFCSI record.
inline constexpr unsigned kSystemInfoLength = 200;
/// Room for an exception name.
inline constexpr unsigned kExceptionTextSize = 256;

/// Field positions in the RFCSI record that the check uses.
inline constexpr unsigned kRfcHostOffset = 45, kRfcHostLength = 8;
inline constexpr unsigned kRfcDbSysOffset = 101, kRfcDbSysLength = 10;

/// Calls RFC_SYSTEM_INFO and receives its export parameters; returns the RFC result code. The
/// exception name is copied into `exceptionText` (256 bytes) for results 2 and 3. Installs
/// the RFCSI structure on first use (a refusal ends the process with the failure report).
int CallSystemInfo(RunContext& ctx, RfcHandle handle, std::int32_t* currentResources,
                   char* dialogUserType, std::int32_t* maximalResources,
                   std::int32_t* recommendedDelay, char* systemInfo, char* loginComplete,
                   char* exceptionText);

/// On success sets `callStatus` to "OK" and takes `displayHost` and `databaseSystem` from the
/// answer; on failure appends the numbered message to the output buffer. Returns the result.
int CheckSystemInfo(RunContext& ctx, RfcHandle handle);

}  // namespace kelvoran

#endif
