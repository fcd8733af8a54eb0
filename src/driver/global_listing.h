/// The global sensor listing: which systems a global run measures.
#ifndef KELVORAN_DRIVER_GLOBAL_LISTING_H
#define KELVORAN_DRIVER_GLOBAL_LISTING_H

#include "driver/fail_run.h"

namespace kelvoran {

struct RunContext;

/// The listing of a global run by sensor ("GLOBAL" on the command line).
inline constexpr const char* kSensorListingName = "SAP Almandor.Gbl";
/// The listing of a global run by item ("ITEM=" among the options).
inline constexpr const char* kItemListingName = "Almandor.Prf";

/// Closes the profile file, reads "SAP Almandor.Gbl" (sensor route) or "Almandor.Prf" (item
/// route) from `profilePath`, and fills `serverListing`, `globalItem` and, on the sensor route,
/// `parameterText`; sets `profilePath` to `profileDirectory`. Errors 1024, 10x1, 1029, 1030,
/// 1025 and 1026.
[[nodiscard]] FatalError ReadGlobalListing(RunContext& ctx);

}  // namespace kelvoran

#endif
