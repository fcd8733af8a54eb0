/// Reading a system profile into `SystemProfile`.
#ifndef KELVORAN_DRIVER_SYSTEM_PROFILE_H
#define KELVORAN_DRIVER_SYSTEM_PROFILE_H

#include "driver/fail_run.h"
#include "platform/file_system.h"

namespace kelvoran {

struct RunContext;

enum class ProfileReading {
  Strict,  ///< single-system run: the first problem is a numbered error (1003 to 1007)
  Lenient, ///< each system of a global run: problems only set `profileInvalid`
};

/// Reads the open profile to its end, closes it and validates the settings. Strict errors name
/// `profileName`; the lenient reading never returns an error.
[[nodiscard]] FatalError ReadSystemProfile(RunContext& ctx, FilePtr file, ProfileReading reading);

}  // namespace kelvoran

#endif
