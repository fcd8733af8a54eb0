// Placeholder until this step is built.
#include "driver/multi_run.h"

namespace kelvoran {

int RunAllSystems(RunContext&) { return 2; }

}  // namespace kelvoran
