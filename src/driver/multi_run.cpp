#include "driver/multi_run.h"

#include <string>

#include "driver/command_line.h"
#include "driver/fail_run.h"
#include "driver/run_deadline.h"
#include "driver/run_steps.h"
#include "driver/system_profile.h"
#include "output/document.h"
#include "rfc/connection.h"
#include "rfc/db4_query.h"
#include "rfc/library_steps.h"
#include "rfc/rfc_phase.h"
#include "run_context.h"

namespace kelvoran {

namespace {

constexpr const char* kProcessed = "Processed";
constexpr const char* kNotFound = "Not Found";
constexpr const char* kRfcFailure = "Rfc Failure";

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

// Connects to, checks and queries the current system. Returns a fatal message when the run
// must end; otherwise the verdict is read from `profileInvalid` and `callStatus`.
FatalError MeasureSystem(RunContext& ctx) {
  ctx.output.Clear();
  ctx.callStatus = kCallFailed;
  ctx.connectionHandle = OpenConnection(ctx);
  if (ctx.connectionHandle == 0) {
    ctx.profileInvalid = true;
    return std::nullopt;
  }
  if (FatalError error = CheckMeasuredSystem(ctx)) return error;
  ctx.callStatus = kCallFailed;
  QueryDb4Info(ctx, ctx.connectionHandle);
  // A system counts as found once its figures were read.
  if (ctx.callStatus == kCallOk) ctx.sensorFound = true;
  CloseConnection(ctx);
  return std::nullopt;
}

const char* Judge(RunContext& ctx) {
  if (ctx.profileInvalid || ctx.callStatus != kCallOk) {
    ++ctx.failedCount;
    return kRfcFailure;
  }
  if (!ctx.sensorFound) {
    ++ctx.failedCount;
    return kNotFound;
  }
  ++ctx.processedCount;
  return kProcessed;
}

}  // namespace

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

  while (!ctx.serverListing.empty()) {
    ++ctx.systemCount;
    ctx.sensorFound = false;
    ctx.systemEntry = TakeNextEntry(ctx.serverListing);
    ctx.profilePath = ctx.profileDirectory + ctx.systemEntry;
    EnterStep(ctx, "ReadSystemProfile", ctx.systemEntry);
    FilePtr file = ctx.files.Open(ctx.profilePath, "r");
    if (!file) continue;

    // Each system starts from an empty profile: nothing of the previous system's settings
    // (its user and password above all) may reach this system's host.
    ctx.profile = SystemProfile{};
    ctx.displayHost.clear();
    ctx.profileInvalid = false;
    (void)ReadSystemProfile(ctx, std::move(file), ProfileReading::Lenient);

    if (ctx.verboseMode) {
      const SystemProfile& p = ctx.profile;
      ctx.startBanner = "* " + ctx.clock.TimeOfDay() + " " + ctx.systemEntry + ", " +
                        ctx.displayHost + ", " + p.destination + ", " + p.sysnr + ", " + p.client;
    }
    // The phase lasts to the end of the run: every system's check may scan the trace file.
    EnterRfcPhase(ctx);
    EnterStep(ctx, "RfcEnvironment",
              ctx.profile.destination.empty() ? ctx.systemEntry : ctx.profile.destination);
    InstallRfcEnvironment(ctx);

    if (FatalError error = MeasureSystem(ctx)) {
      const int status = FailRun(ctx, *error);
      CloseConnection(ctx);
      return status;
    }
    const char* verdict = Judge(ctx);
    if (ctx.verboseMode) ctx.console.Write("\n" + ctx.startBanner + " State=" + verdict + "\n");
    // A failed query's message has served its purpose with the verdict; it must not end up in
    // the summary document in front of the text element.
    ctx.output.Clear();
  }

  BeginTextBlock(ctx);
  ctx.output.Append("(***) ");
  AppendOutsideText(ctx, ctx.globalItem);
  ctx.output.Append(": NoSystems=" + std::to_string(ctx.systemCount) +
                    ", Processed=" + std::to_string(ctx.processedCount) +
                    ", Failed=" + std::to_string(ctx.failedCount));
  EndTextBlock(ctx);
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
