/// What ",DETAIL" adds to a global run's document, so that the monitor alarms on the systems
/// of the listing: after the summary the failed systems and those without profile by name,
/// and channels: four for the whole run, then one per listed system whose value is the
/// system's verdict.
#ifndef KELVORAN_DRIVER_GLOBAL_DETAIL_H
#define KELVORAN_DRIVER_GLOBAL_DETAIL_H

#include <cstddef>
#include <string>
#include <vector>

namespace kelvoran {

struct RunContext;

/// The PRTG value lookup that shows a system's channel as its verdict (0 "Processed", 1 "Rfc
/// Failure", 2 "Not Found", 3 "No profile") and sets the sensor to Error for all but 0. It is
/// shipped as the lookup file kelvoran.systemverdict.ovl.
inline constexpr const char* kVerdictLookup = "kelvoran.systemverdict";
/// PRTG keeps at most this many channels of a sensor.
inline constexpr std::size_t kMostChannels = 50;
/// The channels of the whole run, which always come first.
inline constexpr std::size_t kSummaryChannels = 4;
/// PRTG shows at most this many characters of a sensor's message, the document's text.
inline constexpr std::size_t kLongestText = 2000;

/// `names` joined with ", " in their order, as many as fit in `room` characters; when some do
/// not fit, the list ends with "..." after the last one that does (within `room` still).
std::string NameList(const std::vector<std::string>& names, std::size_t room);

/// What follows the summary in the text: " - failed: ...; no profile: ..." naming the systems
/// (a failed system check's message in parentheses after its system), and "n of m systems as
/// channels" when not every system has its channel. At most `room` characters; empty when
/// there is nothing to name.
std::string DetailText(const RunContext& ctx, std::size_t room);

/// Writes the run's channels: "Systems measured", "Systems failed", "Systems without profile",
/// "Slowest system", then one per listed system, named after its listing entry, up to
/// kMostChannels in all.
void WriteSystemChannels(RunContext& ctx);

}  // namespace kelvoran

#endif
