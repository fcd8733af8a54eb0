#include "rfc/classic/trace_scan.h"

#include <cstring>

#include "platform/byte_order_mark.h"
#include "run_context.h"
#include "step_report.h"

namespace kelvoran {

namespace {

constexpr int kPieceBuffer = 100;  // at most 99 characters per read

bool StartsWith(std::string_view text, std::string_view head) {
  return text.substr(0, head.size()) == head;
}

}  // namespace

std::string FindTraceError(std::FILE* trace) {
  std::string finding;
  char buffer[kPieceBuffer];
  while (std::fgets(buffer, sizeof buffer, trace) != nullptr) {
    const std::string_view piece(buffer, std::strlen(buffer));
    if (StartsWith(piece, "**** ERROR ")) finding.clear();
    if (StartsWith(piece, "ERROR ")) finding = piece.size() > 12 ? piece.substr(12) : "";
    if (piece.size() >= 15 && piece.substr(7, 8) == "======> ") finding = piece.substr(15);
    // The line end goes: the line feed, then a carriage return before it, so that a trace
    // written with CR LF reads the same wherever the probe runs.
    if (!finding.empty() && finding.back() == '\n') finding.pop_back();
    if (!finding.empty() && finding.back() == '\r') finding.pop_back();
  }
  return finding;
}

void ScanTraceFile(RunContext& ctx) {
  EnterStep(ctx, "ScanTraceFile");
  FilePtr trace = ctx.files.Open(kTraceFileName, "r");
  if (!trace) {
    ctx.output.Append(" - Look for Trace-File");
    return;
  }
  SkipByteOrderMark(trace.get());
  const std::string finding = FindTraceError(trace.get());
  if (finding.empty()) {
    ctx.output.Append(" - Please Check Trace-File !");
  } else {
    ctx.output.Append(" - ");
    ctx.output.Append(finding);
  }
}

}  // namespace kelvoran
