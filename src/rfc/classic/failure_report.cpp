#include "rfc/classic/failure_report.h"

#include <array>
#include <cstdlib>
#include <cstring>

#include "exit_status.h"
#include "output/document.h"
#include "output/host_flavour.h"
#include "output/print_field.h"
#include "rfc/classic/library_state.h"
#include "rfc/temporary_ini.h"
#include "run_context.h"

namespace kelvoran {

namespace {

constexpr int kFieldWidth = 15;

constexpr std::string_view kReportHead = "RFC error";
// The report's closing lines. The probe names no end-of-output file, so its creation always
// fails, and the report says so.
constexpr std::string_view kReportEnd[] = {"* Programm aborted...", "* Error at EoXput-File..."};
// Between the report's pieces when it stands on one line.
constexpr std::string_view kJoint = "; ";

// The run the installed handler reports on (see InstallClassicEnvironment).
RunContext* g_reportingRun = nullptr;

// A field of the error record, up to its terminator or its size, whichever comes first.
template <std::size_t N>
std::string_view Field(const char (&field)[N]) {
  const void* end = std::memchr(field, '\0', N);
  return std::string_view(field, end ? static_cast<const char*>(end) - field : N);
}

struct ReportField {
  const char* label;
  std::string_view value;
};

// The report's fields, in the order it shows them.
std::array<ReportField, 5> ReportFields(std::string_view operation, const RfcErrorInfo& error) {
  return {{{"operation/code", operation},
           {"key", Field(error.key)},
           {"status", Field(error.status)},
           {"message", Field(error.message)},
           {"internal status", Field(error.internalStatus)}}};
}

}  // namespace

void InstallClassicEnvironment(RunContext& ctx) {
  g_reportingRun = &ctx;
  LibraryState& state = ClassicState(ctx);
  state.environment = RfcEnvironmentRecord{RfcFailureHandler, nullptr};
  state.operations.RfcEnvironment(&state.environment);
}

namespace {

// "RFC error", and in a global run with ",DETAIL" the listed system the run was at.
std::string ReportHead(std::string_view system) {
  std::string head(kReportHead);
  if (!system.empty()) head += " at " + std::string(system);
  return head;
}

// The system a failure report names: the listed system in a global run with ",DETAIL", which
// is about the systems; none elsewhere, so that every other report stays as it was.
std::string_view ReportedSystem(const RunContext& ctx) {
  return ctx.globalRun && ctx.globalDetail ? std::string_view(ctx.systemEntry) : std::string_view();
}

}  // namespace

std::string FormatRfcFailureReport(std::string_view operation, const RfcErrorInfo& error,
                                   std::string_view system) {
  std::string report = ReportHead(system) + "\n";
  for (const ReportField& field : ReportFields(operation, error))
    report += FormatField(field.label, 0, kFieldWidth, field.value);
  report += "\n";
  for (std::string_view line : kReportEnd) report += std::string(line) + "\n";
  return report;
}

std::string OneLineRfcFailureReport(std::string_view operation, const RfcErrorInfo& error,
                                    std::string_view system) {
  std::string report = ReportHead(system);
  for (const ReportField& field : ReportFields(operation, error)) {
    report += std::string(kJoint) + field.label + ": ";
    for (char c : field.value) report += c == '\n' || c == '\r' || c == '\t' ? ' ' : c;
  }
  for (std::string_view line : kReportEnd) report += std::string(kJoint) + std::string(line);
  return report;
}

RfcFailureOutput RfcFailureReportFor(const RunContext& ctx, std::string_view operation,
                                     const RfcErrorInfo& error) {
  const std::string_view system = ReportedSystem(ctx);
  if (!IsXmlFlavour(ctx.hostFlavour)) {
    return {FormatRfcFailureReport(operation, error, system), ""};
  }
  if (ctx.deadlineView.endedWith >= 0) {
    return {"", FormatRfcFailureReport(operation, error, system)};
  }
  return {FatalDocument(ctx.hostFlavour, ctx.envelopeOpen,
                        OneLineRfcFailureReport(operation, error, system)),
          ""};
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
  const RfcFailureOutput report = RfcFailureReportFor(ctx, operation, error);
  ctx.console.Write(report.out);
  if (!report.err.empty()) ctx.console.WriteError(report.err);
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
