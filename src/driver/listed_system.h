/// One system of a global run's listing, measured as the multi-system run measures each of
/// its systems: the steps shared by the run that measures them in turn and the probes that
/// measure them side by side ("PARALLEL=n").
#ifndef KELVORAN_DRIVER_LISTED_SYSTEM_H
#define KELVORAN_DRIVER_LISTED_SYSTEM_H

#include <optional>
#include <string>
#include <string_view>

#include "driver/fail_run.h"

namespace kelvoran {

struct RunContext;

/// Verdicts of a measured system.
inline constexpr const char* kProcessed = "Processed";
inline constexpr const char* kNotFound = "Not Found";
inline constexpr const char* kRfcFailure = "Rfc Failure";

/// Opens and reads (leniently) the profile of the listed system `entry` from the profile
/// directory, from an empty profile; in verbose mode the system's console line is left in
/// `startBanner`. False when the profile cannot be opened: the system is then only counted.
bool ReadListedProfile(RunContext& ctx, const std::string& entry);

/// Measures the system whose profile was just read: RFC phase, SAP's library (loaded for the
/// first system), environment, connection, check and query. Returns its verdict, or in `fatal` the message the run ends with (the
/// connection is then still open, for the caller to close once the message is printed).
struct ListedOutcome {
  const char* verdict = nullptr;
  FatalError fatal;
};
ListedOutcome MeasureListedSystem(RunContext& ctx);

/// Takes, measures and judges the listed system `entry` in this process, as the run in turn
/// does each of its systems: counts it, prints its state line in verbose mode, or ends the run
/// (the fatal document printed, the connection closed). Returns the exit status of an ending.
std::optional<int> MeasureHere(RunContext& ctx, const std::string& entry);

/// Raises the counter that `verdict` belongs to.
void CountVerdict(RunContext& ctx, std::string_view verdict);

/// The line verbose mode prints for a judged system: an empty line, then its console line.
std::string VerdictLine(const std::string& consoleLine, std::string_view verdict);

}  // namespace kelvoran

#endif
