#include "driver/single_run.h"

#include "driver/command_line.h"
#include "driver/fail_run.h"
#include "driver/run_deadline.h"
#include "driver/run_steps.h"
#include "output/log_writer.h"
#include "rfc/connection.h"
#include "rfc/db4_query.h"
#include "rfc/library_steps.h"
#include "rfc/rfc_phase.h"
#include "run_context.h"

namespace kelvoran {

std::string ParameterDisplay(std::string_view parameterText) {
  std::string display(parameterText.substr(0, parameterText.find('#')));
  display = display.substr(0, display.find('@'));
  if (display == "(Parameters " || display == "(No ") display.clear();
  if (display.empty()) display = "(No Parameters)";
  return display;
}

int RunSingleSystem(RunContext& ctx) {
  WriteLogLine(ctx, static_cast<std::int32_t>(ctx.connectionHandle), "program started",
               ctx.programPath);
  EnterRfcPhase(ctx);
  if (FatalError error = LoadRfcLibrary(ctx, ctx.profile.destination)) {
    return FailRun(ctx, *error);
  }
  EnterStep(ctx, "RfcEnvironment", ctx.profile.destination);
  if (const char* installed = InstallRfcEnvironment(ctx)) {
    WriteLogLine(ctx, static_cast<std::int32_t>(ctx.connectionHandle),
                 std::string(installed) + " called", "");
  }

  ctx.output.Clear();
  ctx.callStatus = kCallFailed;

  if (ctx.verboseMode) {
    const std::string time = ctx.clock.TimeOfDay();
    const SystemProfile& p = ctx.profile;
    ctx.console.Write(ctx.startBanner + "\n");
    ctx.console.Write("* " + time + " " + ctx.profileName + ", " + ctx.displayHost + ", " +
                      p.destination + ", " + p.sysnr + ", " + p.client + " State=Processing\n");
    // Shown from a copy: the options themselves ("CH=" among them) stay whole.
    ctx.console.Write("* " + time + " " + kProductName + " - " +
                      ParameterDisplay(ctx.parameterText) + " State=Executing\n");
  }

  ctx.connectionHandle = OpenConnection(ctx);
  if (ctx.connectionHandle == 0) {
    ctx.output.Assign("Error 1011: RFC-Open for " + ctx.profile.destination + " failed !");
    ExplainFailedOpen(ctx);
    return FailRun(ctx, std::string(ctx.output.Text()));
  }

  if (FatalError error = CheckMeasuredSystem(ctx)) {
    const int status = FailRun(ctx, *error);
    CloseConnection(ctx);
    return status;
  }

  ctx.callStatus = kCallFailed;
  QueryDb4Info(ctx, ctx.connectionHandle);
  CloseConnection(ctx);

  if (ctx.callStatus != kCallOk) {
    // The trace file explains a failed call; an answer that could not be written is no RFC
    // failure, and an older trace entry would only mislead.
    if (ctx.lastQueryResult != 0) ExplainFailedStep(ctx);
    return FailRun(ctx, std::string(ctx.output.Text()));
  }
  PrintEnding(ctx, ctx.output.Text(), kExitCompleted);
  RemoveTraceFileUnlessInUse(ctx);
  if (ctx.verboseMode) {
    ctx.console.Write("\n* " + ctx.clock.TimeOfDay() + " SAP " + kProductName +
                      " now processed...\n");
  }
  return kExitCompleted;
}

}  // namespace kelvoran
