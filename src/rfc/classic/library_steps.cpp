#include "rfc/library_steps.h"

#include "rfc/classic/failure_report.h"
#include "rfc/classic/trace_scan.h"

namespace kelvoran {

const char* InstallRfcEnvironment(RunContext& ctx) {
  InstallClassicEnvironment(ctx);
  return "RfcEnvironment";
}

void ExplainFailedStep(RunContext& ctx) { ScanTraceFile(ctx); }

const char* LibraryTraceFile() { return kTraceFileName; }

}  // namespace kelvoran
