/// Slow and silent systems: how long a system takes to answer, and the operations it never
/// answers at all (landscape keys DELAY_OPEN, DELAY_CALL, DELAY_RECEIVE and HANG).
#ifndef KELVORAN_SIMRFC_STALLS_H
#define KELVORAN_SIMRFC_STALLS_H

#include <optional>
#include <string>

#include "landscape.h"

namespace simrfc {

/// Longest delay a landscape may ask for, in milliseconds (ten minutes).
inline constexpr int kLongestDelay = 600000;

/// The operations a system can hang in.
inline constexpr const char* kHangOperations[] = {"RfcOpen", "RfcOpenEx", "RfcCall", "RfcReceive",
                                                  "RfcClose"};

/// The landscape keys: each gives what is wrong with the value, or nothing when it was taken.
std::optional<std::string> SetOpenDelay(SystemEntry& system, const std::string& value);
std::optional<std::string> SetCallDelay(SystemEntry& system, const std::string& value);
std::optional<std::string> SetReceiveDelay(SystemEntry& system, const std::string& value);
/// "operation [function module]"; a module only for RfcCall and RfcReceive.
std::optional<std::string> AddHang(SystemEntry& system, const std::string& value);

/// Called by `operation` of `system` before it answers: waits `delay` milliseconds, and never
/// returns when the system hangs in the operation (for every module or for `module`). Waiting
/// costs no processor time.
void Stall(const SystemEntry& system, const char* operation, int delay,
           const char* module = nullptr);

}  // namespace simrfc

#endif
