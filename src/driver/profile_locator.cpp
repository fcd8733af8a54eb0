// Placeholder until this step is built; replaced by the real reader.
#include "driver/profile_locator.h"

namespace kelvoran {

FatalError LocateProfile(RunContext&) { return std::string("Error 1002: not built yet"); }

}  // namespace kelvoran
