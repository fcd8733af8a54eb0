/// "PARALLEL=n": a global run that measures up to n of its systems at the same time, each in
/// a child process of the probe's own executable that does for its one system exactly what
/// the run does for each system in turn (see docs/parallel-runs.md). The run judges the
/// systems in listing order, so that it prints what the run in turn prints.
#ifndef KELVORAN_DRIVER_PARALLEL_RUN_H
#define KELVORAN_DRIVER_PARALLEL_RUN_H

#include <optional>

#include "driver/fail_run.h"
#include "driver/parallel_keyword.h"

namespace kelvoran {

struct RunContext;

/// Measures the listed systems side by side and judges them in listing order, leaving the
/// counters for the summary; returns the exit status when the run ended early (a fatal
/// ending, the RFC library's failure report). Ends every child before it returns.
std::optional<int> MeasureSideBySide(RunContext& ctx);

}  // namespace kelvoran

#endif
