#include "rfc/nwrfc/library_state.h"

#include "run_context.h"

namespace kelvoran {

void LibraryStateDeleter::operator()(LibraryState* state) const { delete state; }

LibraryStatePtr MakeLibraryState() { return LibraryStatePtr(new LibraryState()); }

LibraryState& NwState(RunContext& ctx) { return *ctx.rfc.library; }

}  // namespace kelvoran
