/// Slow and silent systems: how long a system takes to answer, and the operations it never
/// answers at all (landscape keys DELAY_OPEN, DELAY_CALL, DELAY_RECEIVE and HANG).
#ifndef KELVORAN_SIMSAP_STALLS_H
#define KELVORAN_SIMSAP_STALLS_H

#include <optional>
#include <string>

#include "landscape.h"

namespace simsap {

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

/// What an operation of a system does before it answers: waits `delay` milliseconds, or never
/// answers at all.
struct StallPlan {
  int delay = 0;
  bool hang = false;
};

/// Whether `system` never answers `operation`: for every module, or for `module` when one is
/// named.
bool HangsIn(const SystemEntry& system, const char* operation, const char* module = nullptr);

/// Carries `plan` out: waits its delay, or never returns. Waiting costs no processor time.
void Carry(const StallPlan& plan);

/// Called by `operation` of `system` before it answers: waits `delay` milliseconds, and never
/// returns when the system hangs in the operation (for every module or for `module`). Waiting
/// costs no processor time.
void Stall(const SystemEntry& system, const char* operation, int delay,
           const char* module = nullptr);

}  // namespace simsap

#endif
