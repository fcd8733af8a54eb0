#include "rfc/classic/failure_report.h"

#include <cstdlib>
#include <cstring>

#include "exit_status.h"
#include "output/print_field.h"
#include "rfc/classic/library_state.h"
#include "rfc/temporary_ini.h"
#include "run_context.h"

namespace kelvoran {

namespace {

constexpr int kFieldWidth = 15;

// The run the installed handler reports on (see InstallClassicEnvironment).
RunContext* g_reportingRun = nullptr;

// A field of the error record, up to its terminator or its size, whichever comes first.
template <std::size_t N>
std::string_view Field(const char (&field)[N]) {
  const void* end = std::memchr(field, '\0', N);
  return std::string_view(field, end ? static_cast<const char*>(end) - field : N);
}

}  // namespace

void InstallClassicEnvironment(RunContext& ctx) {
  g_reportingRun = &ctx;
  LibraryState& state = ClassicState(ctx);
  state.environment = RfcEnvironmentRecord{RfcFailureHandler, nullptr};
  state.operations.RfcEnvironment(&state.environment);
}

std::string FormatRfcFailureReport(std::string_view operation, const RfcErrorInfo& error) {
  std::string report = "RFC error\n";
  report += FormatField("operation/code", 0, kFieldWidth, operation);
  report += FormatField("key", 0, kFieldWidth, Field(error.key));
  report += FormatField("status", 0, kFieldWidth, Field(error.status));
  report += FormatField("message", 0, kFieldWidth, Field(error.message));
  report += FormatField("internal status", 0, kFieldWidth, Field(error.internalStatus));
  report += "\n";
  return report;
}

void ReportRfcFailure(RunContext& ctx, std::string_view operation) {
  RfcErrorInfo error;
  std::memset(&error, 0, sizeof error);
  const RfcOperations& rfc = Rfc(ctx);
  rfc.RfcLastError(&error);
  rfc.RfcClose(0);
  // The report is printed whole and is the last thing printed: the print lock is kept until
  // the process ends, so a deadline striking now can neither cut into it nor follow it. The
  // library is called before, never while the lock is held.
  ctx.console.Lock().Lock();
  ctx.console.Write(FormatRfcFailureReport(operation, error));
  ctx.console.Write("* Programm aborted...\n");
  // The probe names no end-of-output file, so its creation always fails here.
  ctx.console.Write("* Error at EoXput-File...\n");
  ctx.console.Flush();
  RemoveTemporaryIni(ctx);
  // Ends the process on the spot: the handler may be running inside a library call, which
  // must not be unwound.
  std::_Exit(kExitRfcFailure);
}

extern "C" void RFC_CALL RfcFailureHandler(char* operation) {
  if (g_reportingRun == nullptr) std::_Exit(kExitRfcFailure);
  ReportRfcFailure(*g_reportingRun, operation != nullptr ? operation : "");
}

}  // namespace kelvoran
