/// Steps that the single-system run and the multi-system run share.
#ifndef KELVORAN_DRIVER_RUN_STEPS_H
#define KELVORAN_DRIVER_RUN_STEPS_H

#include "driver/fail_run.h"

namespace kelvoran {

struct RunContext;

/// The system information check on the open connection. A failed check gives its numbered
/// message with the trace file's explanation; a database system other than "DB4..." gives
/// Error 1018. Both are fatal to the run.
[[nodiscard]] FatalError CheckMeasuredSystem(RunContext& ctx);

}  // namespace kelvoran

#endif
