/// The last word on a failure inside the RFC library: the library's last error on standard
/// output (in the XML flavours as an error document), then the end of the process with exit
/// status 1.
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

/// The report's lines, from the operation and the library's last error, as the text flavours
/// get them. With `system`, the first line names it: "RFC error at PRD.P00".
std::string FormatRfcFailureReport(std::string_view operation, const RfcErrorInfo& error,
                                   std::string_view system = {});

/// The same report on one line, for a document's text: "RFC error" (naming `system` as
/// above), each field as
/// "label: value" and the closing lines, joined by "; ", with every line break or tab inside
/// a value turned into a blank.
std::string OneLineRfcFailureReport(std::string_view operation, const RfcErrorInfo& error,
                                    std::string_view system = {});

/// What the report prints, on standard output and on standard error.
struct RfcFailureOutput {
  std::string out;
  std::string err;
};

/// The report in the form the run's host reads. The text flavours get its lines. The XML
/// flavours get an error document carrying it on one line, or in a global run, whose envelope
/// opening is printed, the rest that closes that envelope; once the run's last document is
/// printed (a fatal error, then a failure while closing the connection), its lines go to
/// standard error, so that standard output stays the one document the host parses.
RfcFailureOutput RfcFailureReportFor(const RunContext& ctx, std::string_view operation,
                                     const RfcErrorInfo& error);

}  // namespace kelvoran

#endif
