// The measurement through the NW RFC library: DB02_DB4_GET_INFO's export structure
// DB02_DISPLAYED_INFO, read by field name; the six object tables are not read.
#include "rfc/db4_query.h"

#include <optional>
#include <string>

#include "rfc/nwrfc/function_call.h"
#include "rfc/nwrfc/library_state.h"
#include "run_context.h"

namespace kelvoran {

namespace {

// The fields of DB02INFDB4 the document takes, as the library delivers them.
constexpr unsigned kDbSysLength = 10, kDateLength = 8, kTimeLength = 6, kSysIdLength = 8;
constexpr unsigned kAspUsedLength = 8, kAspUsedDecimals = 5;

std::optional<Db4Figures> ReadFigures(FunctionCall& call) {
  const NwDataHandle info = call.Structure("DB02_DISPLAYED_INFO");
  Db4Figures figures;
  const std::optional<std::string> texts[] = {
      call.Chars(info, "DBSYS", kDbSysLength), call.Chars(info, "FS_A_DATE", kDateLength),
      call.Chars(info, "FS_A_TIME", kTimeLength), call.Chars(info, "SYSID", kSysIdLength)};
  for (int i = 0; i < kDb4CountFieldCount; ++i) {
    figures.counts[i] = call.Int(info, kDb4CountFields[i]).value_or(0);
  }
  const std::optional<std::string> aspUsed =
      call.Decimal(info, kAspUsedField, kAspUsedLength, kAspUsedDecimals);
  if (call.Result() != 0) return std::nullopt;
  figures.databaseSystem = *texts[0];
  figures.date = *texts[1];
  figures.time = *texts[2];
  figures.systemId = *texts[3];
  if (!aspUsed->empty()) figures.aspUsed = *aspUsed;
  return figures;
}

}  // namespace

int QueryDb4Info(RunContext& ctx, ConnectionHandle) {
  FunctionCall call(ctx, "DB02_DB4_GET_INFO");
  call.Invoke();
  const std::optional<Db4Figures> figures = ReadFigures(call);
  ctx.lastQueryResult = call.Result();
  if (ctx.lastQueryResult == 0) {
    if (ctx.globalRun || WriteResultDocument(ctx, *figures)) ctx.callStatus = kCallOk;
  } else {
    ctx.output.Append(NwResultMessage(ctx.lastQueryResult, NwState(ctx).lastError));
  }
  return ctx.lastQueryResult;
}

}  // namespace kelvoran
