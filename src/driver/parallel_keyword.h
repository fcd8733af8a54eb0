/// The keyword "PARALLEL=n", read apart from the parallel run itself, so that reading the
/// options (which the profile tool does too) pulls in nothing of the runs.
#ifndef KELVORAN_DRIVER_PARALLEL_KEYWORD_H
#define KELVORAN_DRIVER_PARALLEL_KEYWORD_H

#include "driver/fail_run.h"

namespace kelvoran {

struct RunContext;

/// Most systems measured at the same time.
inline constexpr unsigned kMostParallel = 64;

/// Reads "PARALLEL=" from the option text: a whole number from 1 to 64, kept in `parallel`.
/// Without the keyword the value read before (if any) stays. Anything else is Error 1035 with
/// the value as typed.
[[nodiscard]] FatalError ReadParallel(RunContext& ctx);

}  // namespace kelvoran

#endif
