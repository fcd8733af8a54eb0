// Placeholder until this step is built; replaced by the real reader.
#include "driver/system_profile.h"

namespace kelvoran {

FatalError ReadSystemProfile(RunContext&, FilePtr, ProfileReading) { return std::string("Error 1002: not built yet"); }

}  // namespace kelvoran
