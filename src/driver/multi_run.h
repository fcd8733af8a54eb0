/// The multi-system run: every system of the server listing, and the summary.
#ifndef KELVORAN_DRIVER_MULTI_RUN_H
#define KELVORAN_DRIVER_MULTI_RUN_H

#include <string>
#include <vector>

namespace kelvoran {

struct RunContext;

/// Takes every profile name off the server listing, in listing order.
std::vector<std::string> TakeListedEntries(RunContext& ctx);

/// Measures each listed system in turn and prints the envelope and the summary; returns the
/// exit status (0 completed, 2 fatal error). A library failure report ends the process with 1.
int RunAllSystems(RunContext& ctx);

}  // namespace kelvoran

#endif
