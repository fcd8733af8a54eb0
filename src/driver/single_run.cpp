// Placeholder until this step is built.
#include "driver/single_run.h"

namespace kelvoran {

int RunSingleSystem(RunContext&) { return 2; }

}  // namespace kelvoran
