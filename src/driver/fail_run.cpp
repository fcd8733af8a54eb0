#include "driver/fail_run.h"

#include "driver/run_deadline.h"
#include "output/document.h"
#include "run_context.h"

namespace kelvoran {

void PrintOutput(RunContext& ctx) { ctx.console.Write(ctx.output.Text()); }

int FailRun(RunContext& ctx, std::string_view message) {
  ctx.output.Assign(FatalDocument(ctx.hostFlavour, ctx.envelopeOpen, message));
  PrintEnding(ctx, ctx.output.Text(), kExitError);
  return kExitError;
}

}  // namespace kelvoran
