#include "rfc/classic/library_state.h"

#include "run_context.h"

namespace kelvoran {

void LibraryStateDeleter::operator()(LibraryState* state) const { delete state; }

LibraryStatePtr MakeLibraryState() { return LibraryStatePtr(new LibraryState()); }

LibraryState& ClassicState(RunContext& ctx) { return *ctx.rfc.library; }

const RfcOperations& Rfc(RunContext& ctx) { return ctx.rfc.library->operations; }

}  // namespace kelvoran
