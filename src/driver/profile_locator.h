/// Finding the profile named on the command line and the sensor directory it lies in.
#ifndef KELVORAN_DRIVER_PROFILE_LOCATOR_H
#define KELVORAN_DRIVER_PROFILE_LOCATOR_H

#include <cstddef>
#include <string_view>

#include "driver/fail_run.h"

namespace kelvoran {

struct RunContext;

/// Splits the directory off `profileName`, applies the global rule to the file name, searches
/// the profile (where the command line says for the maker flavours; in PRTG's custom-sensor
/// folder for EXEXML), and leaves it open in `profileFile` with `profileDirectory` and
/// `profilePath` set. Error 1002 when it is not found.
[[nodiscard]] FatalError LocateProfile(RunContext& ctx);

/// The length of the directory written in front of a profile name: up to and including its
/// last '\' or '/'. 0 when there is none, or when the only one is the first character (such a
/// name is not split).
std::size_t DirectoryPartLength(std::string_view name);

}  // namespace kelvoran

#endif
