#include "driver/multi_run.h"

#include <optional>
#include <string>

#include "driver/command_line.h"
#include "driver/fail_run.h"
#include "driver/global_detail.h"
#include "driver/listed_system.h"
#include "driver/parallel_run.h"
#include "driver/run_deadline.h"
#include "output/document.h"
#include "rfc/connection.h"
#include "run_context.h"

namespace kelvoran {

namespace {

// The option text as the executing line shows it: ':' as blanks, cut before the first " @".
std::string OptionDisplay(std::string text) {
  for (char& c : text) {
    if (c == ':') c = ' ';
  }
  return text.substr(0, text.find(" @"));
}

// Takes the next profile name off the front of the listing.
std::string TakeNextEntry(std::string& listing) {
  const std::size_t end = listing.find('#');
  std::string entry = listing.substr(0, end);
  listing.erase(0, end == std::string::npos ? listing.size() : end + 1);
  return entry;
}

// Measures the listed systems one after another. Returns the exit status of a fatal ending.
std::optional<int> MeasureInTurn(RunContext& ctx) {
  while (!ctx.serverListing.empty()) {
    if (std::optional<int> status = MeasureHere(ctx, TakeNextEntry(ctx.serverListing))) {
      return status;
    }
  }
  return std::nullopt;
}

}  // namespace

std::vector<std::string> TakeListedEntries(RunContext& ctx) {
  std::vector<std::string> entries;
  while (!ctx.serverListing.empty()) entries.push_back(TakeNextEntry(ctx.serverListing));
  return entries;
}

int RunAllSystems(RunContext& ctx) {
  if (ctx.verboseMode) {
    // The start banner's time: the 8 characters after its leading "* ".
    const std::string startTime = ctx.startBanner.substr(2, 8);
    ctx.startBanner = "* " + startTime + " " + OptionDisplay(ctx.parameterText) + " State=Executing";
    ctx.console.Write(ctx.startBanner + "\n");
  }

  BeginDocument(ctx);
  PrintEnvelopeOpening(ctx, ctx.output.Text() + "\n");
  ctx.output.Clear();

  const std::optional<int> fatal =
      ctx.parallel > 1 && ctx.startsSystemProbes ? MeasureSideBySide(ctx) : MeasureInTurn(ctx);
  if (fatal) return *fatal;

  BeginTextBlock(ctx);
  const std::string counts = ": NoSystems=" + std::to_string(ctx.systemCount) +
                             ", Processed=" + std::to_string(ctx.processedCount) +
                             ", Failed=" + std::to_string(ctx.failedCount);
  ctx.output.Append("(***) ");
  AppendOutsideText(ctx, ctx.globalItem);
  ctx.output.Append(counts);
  if (ctx.globalDetail) {
    const std::size_t summary = 6 + ctx.globalItem.size() + counts.size();
    AppendOutsideText(ctx, DetailText(ctx, summary < kLongestText ? kLongestText - summary : 0));
  }
  EndTextBlock(ctx);
  if (ctx.globalDetail) WriteSystemChannels(ctx);
  EndDocument(ctx);
  PrintEnding(ctx, ctx.output.Text() + "\n", kExitCompleted);
  CloseConnection(ctx);

  if (ctx.verboseMode) {
    ctx.startBanner = "\n* " + ctx.clock.TimeOfDay() + " SAP " + kProductName + " now processed...";
    ctx.console.Write(ctx.startBanner + "\n");
  }
  return kExitCompleted;
}

}  // namespace kelvoran
