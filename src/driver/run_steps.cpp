#include "driver/run_steps.h"

#include "rfc/system_info.h"
#include "rfc/library_steps.h"
#include "run_context.h"

namespace kelvoran {

FatalError CheckMeasuredSystem(RunContext& ctx) {
  ctx.callStatus = kCallFailed;
  CheckSystemInfo(ctx, ctx.connectionHandle);
  if (ctx.callStatus != kCallOk) {
    // The check left its numbered message in the buffer; the explanation completes it.
    ExplainFailedStep(ctx);
    return std::string(ctx.output.Text());
  }
  if (ctx.databaseSystem.compare(0, 3, "DB4") != 0) {
    return std::string("Error 1018: DataBase mismatch !");
  }
  return std::nullopt;
}

}  // namespace kelvoran
