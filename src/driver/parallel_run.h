/// "PARALLEL=n": a global run that measures up to n of its systems at the same time, each in
/// a child process of the probe's own executable that does for its one system exactly what
/// the run does for each system in turn (see docs/parallel-runs.md). The run judges the
/// systems in listing order, so that it prints what the run in turn prints.
#ifndef KELVORAN_DRIVER_PARALLEL_RUN_H
#define KELVORAN_DRIVER_PARALLEL_RUN_H

#include <optional>

#include "driver/fail_run.h"

namespace kelvoran {

struct RunContext;

/// Most systems measured at the same time.
inline constexpr unsigned kMostParallel = 64;

/// Reads "PARALLEL=" from the option text: a whole number from 1 to 64, kept in `parallel`.
/// Without the keyword the value read before (if any) stays. Anything else is Error 1035 with
/// the value as typed.
[[nodiscard]] FatalError ReadParallel(RunContext& ctx);

/// Measures the listed systems side by side and judges them in listing order, leaving the
/// counters for the summary; returns the exit status when the run ended early (a fatal
/// ending, the RFC library's failure report). Ends every child before it returns.
std::optional<int> MeasureSideBySide(RunContext& ctx);

}  // namespace kelvoran

#endif
