/// RFC_SYSTEM_INFO through the classic library: its call and the RFCSI record.
#ifndef KELVORAN_RFC_CLASSIC_SYSTEM_INFO_CALL_H
#define KELVORAN_RFC_CLASSIC_SYSTEM_INFO_CALL_H

#include <cstdint>

#include "rfc/classic/rfc_library.h"

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

}  // namespace kelvoran

#endif
