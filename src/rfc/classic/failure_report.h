/// The last word on a failure inside the RFC library: the library's last error on standard
/// output, then the end of the process with exit status 1 and no document.
#ifndef KELVORAN_RFC_CLASSIC_FAILURE_REPORT_H
#define KELVORAN_RFC_CLASSIC_FAILURE_REPORT_H

#include <string>
#include <string_view>

#include "rfc/classic/rfc_library.h"

namespace kelvoran {

struct RunContext;

/// Hands the library its environment: the failure report below as error handler, and no
/// allocator (the library's own is used). The handler has no argument for the run it reports
/// on, so this one pointer to `ctx` is kept at the library's boundary.
void InstallClassicEnvironment(RunContext& ctx);

/// The error handler installed with RfcEnvironment; `operation` names the failed operation.
extern "C" void RFC_CALL RfcFailureHandler(char* operation);

/// Prints the report for a failed `operation`, closes the null connection and ends the process
/// with exit status 1. Also called directly when preparing a call fails ("RfcInstallStructure",
/// "ItCreate MISS_TABLES", ...). Never returns, and never unwinds through the library.
[[noreturn]] void ReportRfcFailure(RunContext& ctx, std::string_view operation);

/// The report's lines, from the operation and the library's last error.
std::string FormatRfcFailureReport(std::string_view operation, const RfcErrorInfo& error);

}  // namespace kelvoran

#endif
