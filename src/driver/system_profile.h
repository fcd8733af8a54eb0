/// Reading a system profile into `SystemProfile`.
#ifndef KELVORAN_DRIVER_SYSTEM_PROFILE_H
#define KELVORAN_DRIVER_SYSTEM_PROFILE_H

#include <array>
#include <cstddef>
#include <string>

#include "driver/fail_run.h"
#include "platform/file_system.h"

namespace kelvoran {

struct RunContext;
struct SystemProfile;

enum class ProfileReading {
  Strict,   ///< single-system run: the first problem is a numbered error (1003 to 1007)
  Lenient,  ///< each system of a global run: problems only set `profileInvalid`
};

/// One setting of a system profile: its key in the file, the field it fills, and the shortest
/// and longest value the probe accepts.
struct ProfileSetting {
  const char* key;
  std::string SystemProfile::*field;
  std::size_t minimum;
  std::size_t capacity;
};

/// Keys are 12 characters; one separator character follows, then the value.
inline constexpr std::size_t kProfileKeyLength = 12;
/// A value is cut to this many characters when it is read.
inline constexpr std::size_t kProfileValueLimit = 60;

/// The eleven settings, in the order in which they are checked.
const std::array<ProfileSetting, 11>& ProfileSettings();

/// Reads the open profile to its end, closes it and validates the settings. Strict errors name
/// `profileName`; the lenient reading never returns an error.
[[nodiscard]] FatalError ReadSystemProfile(RunContext& ctx, FilePtr file, ProfileReading reading);

/// The checks once the whole profile has been read: a user, a password, then every setting
/// within its shortest and longest length. Strict: the first problem as Error 1006, 1007 or
/// 1003; lenient: `profileInvalid` set instead.
[[nodiscard]] FatalError ValidateSystemProfile(RunContext& ctx, ProfileReading reading);

}  // namespace kelvoran

#endif
