// Placeholder until this step is built; replaced by the real reader.
#include "driver/global_listing.h"

namespace kelvoran {

FatalError ReadGlobalListing(RunContext&) { return std::string("Error 1002: not built yet"); }

}  // namespace kelvoran
