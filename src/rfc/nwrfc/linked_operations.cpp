// The NW RFC library linked into the program (the simulated one, in the tests): the table holds
// the linked operations.
#include "rfc/library_steps.h"
#include "rfc/nwrfc/library_state.h"
#include "rfc/nwrfc/nwrfc_operations.h"

extern "C" {
KELVORAN_NWRFC_OPERATIONS(KELVORAN_LINKED_OPERATION)
}

namespace kelvoran {

std::optional<std::string> LoadRfcLibrary(RunContext& ctx, std::string_view) {
  NwOperations& operations = NwState(ctx).operations;
  KELVORAN_NWRFC_OPERATIONS(KELVORAN_TAKE_LINKED_OPERATION)
  return std::nullopt;
}

}  // namespace kelvoran
