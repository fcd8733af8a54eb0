// The records between a global run with PARALLEL=n and its child probes: the input is what
// arrives on a pipe, read as a child's report and as a parent's request. However the bytes are
// cut into pieces on their way, the reader must come to the same result as when they arrive
// whole, and never take more than the format allows.
#include "driver/system_pipe.h"
#include "fuzz/fuzz_support.h"

namespace {

using namespace kelvoran;

bool SameReport(const SystemReport& a, const SystemReport& b) {
  return a.printed == b.printed && a.printedAfterResult == b.printedAfterResult &&
         a.consoleLine == b.consoleLine && a.operation == b.operation &&
         a.destination == b.destination && a.milliseconds == b.milliseconds &&
         a.message == b.message && a.verdict == b.verdict && a.fatal == b.fatal &&
         a.broken == b.broken;
}

bool SameRequest(const std::optional<SystemRequest>& a, const std::optional<SystemRequest>& b) {
  if (a.has_value() != b.has_value()) return false;
  return !a || (a->parentId == b->parentId && a->profileDirectory == b->profileDirectory &&
                a->systemEntry == b->systemEntry && a->parameterText == b->parameterText &&
                a->flavour == b->flavour && a->verbose == b->verbose && a->detail == b->detail);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes = fuzz::Text(data, size);
  const std::size_t cut = size == 0 ? 0 : data[0] % (size + 1);

  ReportReader whole;
  whole.Feed(bytes);
  ReportReader pieces;
  pieces.Feed(bytes.substr(0, cut));
  pieces.Feed(bytes.substr(cut));
  if (!SameReport(whole.Report(), pieces.Report())) {
    fuzz::Violation("a report reads the same whole and in pieces", bytes);
  }
  const SystemReport& report = whole.Report();
  if (report.verdict && report.fatal) fuzz::Violation("a report has one result", bytes);
  if (!report.fatal && !report.printedAfterResult.empty()) {
    fuzz::Violation("only a fatal ending is followed by printing", bytes);
  }
  for (const auto& piece : report.printed) {
    if (piece.second.size() > kLongestRecord) fuzz::Violation("records stay within bounds", bytes);
  }

  RequestReader request;
  request.Feed(bytes);
  RequestReader requestPieces;
  requestPieces.Feed(bytes.substr(0, cut));
  requestPieces.Feed(bytes.substr(cut));
  const std::optional<SystemRequest> got = request.Complete();
  if (!SameRequest(got, requestPieces.Complete())) {
    fuzz::Violation("a request reads the same whole and in pieces", bytes);
  }
  // A request that was read is written back as the same request.
  if (got) {
    RequestReader again;
    again.Feed(FormatRequest(*got));
    if (!SameRequest(got, again.Complete())) fuzz::Violation("a request round-trips", bytes);
  }
  return 0;
}
