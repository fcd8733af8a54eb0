/// One system of a global run's listing, measured as the multi-system run measures each of
/// its systems: the steps shared by the run that measures them in turn and the probes that
/// measure them side by side ("PARALLEL=n").
#ifndef KELVORAN_DRIVER_LISTED_SYSTEM_H
#define KELVORAN_DRIVER_LISTED_SYSTEM_H

#include <cstdint>
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

/// What measuring a listed system came to.
struct ListedOutcome {
  /// The verdict; null when the run ends with `fatal`.
  const char* verdict = nullptr;
  /// The message the run ends with (the connection is then still open, for the caller to
  /// close once the message is printed).
  FatalError fatal;
  /// With ",DETAIL": the message of a system check that failed, whose system is judged
  /// "Rfc Failure" (its connection closed) instead of ending the run.
  std::string message;
  /// How long the measurement took, from the RFC phase to the verdict.
  std::uint64_t milliseconds = 0;
};

/// Measures the system whose profile was just read: RFC phase, SAP's library (loaded for the
/// first system), environment, connection, check and query.
ListedOutcome MeasureListedSystem(RunContext& ctx);

/// Takes, measures and judges the listed system `entry` in this process, as the run in turn
/// does each of its systems: counts it, prints its state line in verbose mode, or ends the run
/// (the fatal document printed, the connection closed). Returns the exit status of an ending.
std::optional<int> MeasureHere(RunContext& ctx, const std::string& entry);

/// Judges the listed system `entry` with `verdict`: raises the counter it belongs to and keeps
/// the system, with the message of a failed check, for the channels of ",DETAIL".
void JudgeListedSystem(RunContext& ctx, const std::string& entry, std::string_view verdict,
                       std::string message);

/// Keeps a listed system whose profile could not be opened (counted in NoSystems only).
void KeepSystemWithoutProfile(RunContext& ctx, const std::string& entry);

/// Notes how long a system's measurement took: the run's slowest is shown with ",DETAIL".
void NoteMeasurementTime(RunContext& ctx, std::uint64_t milliseconds);

/// The line verbose mode prints for a judged system: an empty line, then its console line.
std::string VerdictLine(const std::string& consoleLine, std::string_view verdict);

}  // namespace kelvoran

#endif
