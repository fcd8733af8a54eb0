/// Finding the profile named on the command line and the sensor directory it lies in.
#ifndef KELVORAN_DRIVER_PROFILE_LOCATOR_H
#define KELVORAN_DRIVER_PROFILE_LOCATOR_H

#include "driver/fail_run.h"

namespace kelvoran {

struct RunContext;

/// Splits the directory off `profileName`, applies the global rule to the file name, searches
/// the profile (where the command line says for the maker flavours; in PRTG's custom-sensor
/// folder for EXEXML), and leaves it open in `profileFile` with `profileDirectory` and
/// `profilePath` set. Error 1002 when it is not found.
[[nodiscard]] FatalError LocateProfile(RunContext& ctx);

}  // namespace kelvoran

#endif
