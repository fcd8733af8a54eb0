#include "step_report.h"

#include "platform/console.h"
#include "run_context.h"

namespace kelvoran {

void EnterStep(RunContext& ctx, std::string_view operation) {
  if (ctx.reportStep) ctx.reportStep(operation, std::nullopt);
  // Only the run's own thread changes the view, so it may read it without the lock.
  if (ctx.deadlineView.seconds == 0) return;
  PrintGuard guard(ctx.console.Lock());
  ctx.deadlineView.operation = operation;
}

void EnterStep(RunContext& ctx, std::string_view operation, std::string_view destination) {
  if (ctx.reportStep) ctx.reportStep(operation, destination);
  if (ctx.deadlineView.seconds == 0) return;
  PrintGuard guard(ctx.console.Lock());
  ctx.deadlineView.operation = operation;
  ctx.deadlineView.destination = destination;
}

}  // namespace kelvoran
