// The classic library linked into the program (the simulated one, in the Linux development
// build and in the tests): the table holds the linked operations.
#include "rfc/classic/library_state.h"
#include "rfc/classic/rfc_operations.h"
#include "rfc/library_steps.h"

extern "C" {
KELVORAN_CLASSIC_OPERATIONS(KELVORAN_LINKED_OPERATION)
}

namespace kelvoran {

std::optional<std::string> LoadRfcLibrary(RunContext& ctx, std::string_view) {
  RfcOperations& operations = ClassicState(ctx).operations;
  KELVORAN_CLASSIC_OPERATIONS(KELVORAN_TAKE_LINKED_OPERATION)
  return std::nullopt;
}

}  // namespace kelvoran
