#include "driver/listed_system.h"

#include <utility>

#include "driver/fail_run.h"

#include "driver/run_deadline.h"
#include "driver/run_steps.h"
#include "driver/system_profile.h"
#include "rfc/connection.h"
#include "rfc/db4_query.h"
#include "rfc/library_steps.h"
#include "rfc/rfc_phase.h"
#include "run_context.h"

namespace kelvoran {

namespace {

// Connects to, checks and queries the current system. Leaves a fatal message in `outcome`
// when the run must end; otherwise the verdict is read from `profileInvalid` and `callStatus`.
void MeasureSystem(RunContext& ctx, ListedOutcome& outcome) {
  ctx.output.Clear();
  ctx.callStatus = kCallFailed;
  ctx.connectionHandle = OpenConnection(ctx);
  if (ctx.connectionHandle == 0) {
    ctx.profileInvalid = true;
    return;
  }
  if (FatalError error = CheckMeasuredSystem(ctx)) {
    if (!ctx.globalDetail) {
      outcome.fatal = std::move(error);
      return;
    }
    // With ",DETAIL" one system cannot end the measurement of the others: it fails alone,
    // and its message is kept to say why.
    outcome.message = std::move(*error);
    ctx.callStatus = kCallFailed;
    CloseConnection(ctx);
    return;
  }
  ctx.callStatus = kCallFailed;
  QueryDb4Info(ctx, ctx.connectionHandle);
  // A system counts as found once its figures were read.
  if (ctx.callStatus == kCallOk) ctx.sensorFound = true;
  CloseConnection(ctx);
}

ListedVerdict VerdictOf(std::string_view verdict) {
  if (verdict == kProcessed) return ListedVerdict::Processed;
  if (verdict == kNotFound) return ListedVerdict::NotFound;
  return ListedVerdict::RfcFailure;
}

const char* Verdict(const RunContext& ctx) {
  if (ctx.profileInvalid || ctx.callStatus != kCallOk) return kRfcFailure;
  if (!ctx.sensorFound) return kNotFound;
  return kProcessed;
}

}  // namespace

bool ReadListedProfile(RunContext& ctx, const std::string& entry) {
  ctx.sensorFound = false;
  ctx.systemEntry = entry;
  ctx.profilePath = ctx.profileDirectory + ctx.systemEntry;
  EnterStep(ctx, "ReadSystemProfile", ctx.systemEntry);
  FilePtr file = ctx.files.Open(ctx.profilePath, "r");
  if (!file) return false;

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
  return true;
}

ListedOutcome MeasureListedSystem(RunContext& ctx) {
  const std::uint64_t started = ctx.clock.Milliseconds();
  // The phase lasts to the end of the run: every system's check may scan the trace file.
  EnterRfcPhase(ctx);
  const std::string& destination =
      ctx.profile.destination.empty() ? ctx.systemEntry : ctx.profile.destination;
  ListedOutcome outcome;
  // A library that cannot be loaded ends the run: no system can be measured without it.
  outcome.fatal = LoadRfcLibrary(ctx, destination);
  if (outcome.fatal) return outcome;
  EnterStep(ctx, "RfcEnvironment", destination);
  InstallRfcEnvironment(ctx);

  MeasureSystem(ctx, outcome);
  if (!outcome.fatal) outcome.verdict = Verdict(ctx);
  const std::uint64_t ended = ctx.clock.Milliseconds();
  outcome.milliseconds = ended > started ? ended - started : 0;
  return outcome;
}

std::optional<int> MeasureHere(RunContext& ctx, const std::string& entry) {
  ++ctx.systemCount;
  if (!ReadListedProfile(ctx, entry)) {
    KeepSystemWithoutProfile(ctx, entry);
    return std::nullopt;
  }
  ListedOutcome outcome = MeasureListedSystem(ctx);
  if (outcome.fatal) {
    const int status = FailRun(ctx, *outcome.fatal);
    CloseConnection(ctx);
    return status;
  }
  NoteMeasurementTime(ctx, outcome.milliseconds);
  JudgeListedSystem(ctx, entry, outcome.verdict, std::move(outcome.message));
  if (ctx.verboseMode) ctx.console.Write(VerdictLine(ctx.startBanner, outcome.verdict));
  // A failed query's message has served its purpose with the verdict; it must not end up in
  // the summary document in front of the text element.
  ctx.output.Clear();
  return std::nullopt;
}

void JudgeListedSystem(RunContext& ctx, const std::string& entry, std::string_view verdict,
                       std::string message) {
  if (verdict == kProcessed) {
    ++ctx.processedCount;
  } else {
    ++ctx.failedCount;
  }
  ctx.judged.push_back(JudgedSystem{entry, VerdictOf(verdict), std::move(message)});
}

void KeepSystemWithoutProfile(RunContext& ctx, const std::string& entry) {
  ctx.judged.push_back(JudgedSystem{entry, ListedVerdict::NoProfile, std::string()});
}

void NoteMeasurementTime(RunContext& ctx, std::uint64_t milliseconds) {
  if (milliseconds > ctx.slowestMilliseconds) ctx.slowestMilliseconds = milliseconds;
}

std::string VerdictLine(const std::string& consoleLine, std::string_view verdict) {
  return "\n" + consoleLine + " State=" + std::string(verdict) + "\n";
}

}  // namespace kelvoran
