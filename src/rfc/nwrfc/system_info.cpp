// The system information check through the NW RFC library: RFC_SYSTEM_INFO's export structure
// RFCSI_EXPORT, read by field name.
#include "rfc/system_info.h"

#include <optional>
#include <string>

#include "rfc/nwrfc/function_call.h"
#include "rfc/nwrfc/library_state.h"
#include "run_context.h"

namespace kelvoran {

int CheckSystemInfo(RunContext& ctx, ConnectionHandle) {
  FunctionCall call(ctx, "RFC_SYSTEM_INFO");
  call.Invoke();
  const NwDataHandle info = call.Structure("RFCSI_EXPORT");
  const std::optional<std::string> host = call.Chars(info, "RFCHOST", 8);
  const std::optional<std::string> databaseSystem = call.Chars(info, "RFCDBSYS", 10);
  if (call.Result() != 0) {
    ctx.output.Append(NwResultMessage(call.Result(), NwState(ctx).lastError));
    return call.Result();
  }
  ctx.callStatus = kCallOk;
  ctx.displayHost = *host;
  ctx.databaseSystem = *databaseSystem;
  return 0;
}

}  // namespace kelvoran
