#include "driver/run_deadline.h"

#include <chrono>
#include <cstdlib>

#include "driver/command_line.h"
#include "output/document.h"
#include "rfc/temporary_ini.h"
#include "run_context.h"

namespace kelvoran {

namespace {

// Runs on the deadline's thread. The print lock is taken and kept until the process ends, so
// that nothing the run prints is cut and nothing follows the document.
[[noreturn]] void Expire(RunContext& ctx, Console& console, const DeadlineView& view) {
  console.Lock().Lock();
  if (view.endedWith < 0) console.Write(TimeoutDocument(view));
  console.Flush();
  // A copy of a per-destination file cut short by the deadline must not stay in the folder.
  RemoveTemporaryIni(ctx);
  // The library's call cannot be interrupted: the process ends around it. Files are never
  // left half written ("SapRfc.ini" is replaced by a rename) and locks are the system's.
  std::_Exit(view.endedWith < 0 ? kExitError : view.endedWith);
}

}  // namespace

FatalError ReadTimeout(RunContext& ctx) {
  static constexpr std::string_view kKeyword = "TIMEOUT=";
  const std::size_t at = ctx.parameterString.find(kKeyword);
  if (at == std::string::npos) return std::nullopt;
  const std::string value = TypedOptionValue(ctx, at + kKeyword.size());
  const std::optional<unsigned> seconds = WholeNumberUpTo(value, kLongestTimeout);
  if (!seconds) return "Error 1033: Invalid Timeout " + value + " found...";
  ctx.timeoutSeconds = *seconds;
  return std::nullopt;
}

void ArmDeadline(RunContext& ctx) {
  if (ctx.timeoutSeconds == 0 || ctx.timeoutSeconds == ctx.deadlineView.seconds) return;
  ctx.deadline.Disarm();
  {
    PrintGuard guard(ctx.console.Lock());
    DeadlineView& view = ctx.deadlineView;
    view.seconds = ctx.timeoutSeconds;
    view.flavour = ctx.hostFlavour;
    view.envelopeOpen = ctx.envelopeOpen;
    if (view.operation.empty()) {
      view.operation = "ParseCommandLine";
      view.destination = ctx.profileName;
    }
  }
  const auto due = ctx.startedAt + std::chrono::seconds(ctx.timeoutSeconds);
  const auto delay =
      std::chrono::ceil<std::chrono::milliseconds>(due - std::chrono::steady_clock::now());
  RunContext* run = &ctx;
  Console* console = &ctx.console;
  const DeadlineView* view = &ctx.deadlineView;
  if (!ctx.deadline.Arm(delay, [run, console, view] { Expire(*run, *console, *view); })) {
    ctx.deadlineView.seconds = 0;
  }
}

void DisarmDeadline(RunContext& ctx) {
  ctx.deadline.Disarm();
  ctx.deadlineView.seconds = 0;
}

void PrintEnvelopeOpening(RunContext& ctx, std::string_view text) {
  PrintGuard guard(ctx.console.Lock());
  ctx.console.Write(text);
  ctx.envelopeOpen = true;
  ctx.deadlineView.envelopeOpen = true;
}

void PrintEnding(RunContext& ctx, std::string_view document, int status) {
  PrintGuard guard(ctx.console.Lock());
  ctx.console.Write(document);
  ctx.deadlineView.endedWith = status;
}

void MarkLastDocumentOut(RunContext& ctx, int status) {
  PrintGuard guard(ctx.console.Lock());
  ctx.deadlineView.endedWith = status;
}

std::string TimeoutMessage(const DeadlineView& view) {
  return "Error 1032: Timeout after " + std::to_string(view.seconds) + " s in " +
         view.operation + " for " + view.destination + " !";
}

std::string TimeoutDocument(const DeadlineView& view) {
  return FatalDocument(view.flavour, view.envelopeOpen, TimeoutMessage(view));
}

}  // namespace kelvoran
