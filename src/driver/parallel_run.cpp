#include "driver/parallel_run.h"

#include <algorithm>
#include <string>
#include <vector>

#include "driver/command_line.h"
#include "driver/listed_system.h"
#include "driver/multi_run.h"
#include "driver/run_deadline.h"
#include "driver/system_pipe.h"
#include "driver/system_probe.h"
#include "platform/child_processes.h"
#include "platform/process_id.h"
#include "rfc/temporary_ini.h"
#include "run_context.h"

namespace kelvoran {

namespace {

constexpr std::size_t kNoSlot = static_cast<std::size_t>(-1);

// One listed system and the child measuring it.
struct ListedSystem {
  std::string entry;
  std::size_t slot = kNoSlot;
  ReportReader report;
  /// No probe could be started for it: it is measured in this process when its turn comes.
  bool here = false;
  /// The child's output is closed: it has ended, with `status`.
  bool ended = false;
  int status = kChildKilled;
};

// The systems of the run and the children measuring them.
class SideBySideRun {
 public:
  SideBySideRun(RunContext& ctx, std::vector<std::string> entries)
      : ctx_(ctx),
        width_(std::max<std::size_t>(1, std::min<std::size_t>(ctx.parallel, entries.size()))),
        children_(width_),
        slotSystem_(width_, kNoSlot) {
    systems_.resize(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) systems_[i].entry = std::move(entries[i]);
  }

  std::optional<int> Run() {
    while (judged_ < systems_.size()) {
      StartChildren();
      ListedSystem& system = systems_[judged_];
      if (!system.here && !system.ended && !HasResult(system)) {
        ShowEarliestUnfinished();
        TakeOutput(children_.WaitForOutput());
        continue;
      }
      if (std::optional<int> status = Judge(system)) return status;
      ++judged_;
    }
    return std::nullopt;
  }

 private:
  // A report with its result, verdict or fatal ending, can be judged before its child ends.
  static bool HasResult(const ListedSystem& system) {
    return system.report.Ended() && !system.report.Report().broken;
  }

  // Starts children for the next systems in listing order while slots are free.
  void StartChildren() {
    while (started_ < systems_.size()) {
      const auto free = std::find(slotSystem_.begin(), slotSystem_.end(), kNoSlot);
      if (free == slotSystem_.end()) return;
      const std::size_t slot = static_cast<std::size_t>(free - slotSystem_.begin());
      ListedSystem& system = systems_[started_];
      SystemRequest request;
      request.parentId = CurrentProcessId();
      request.profileDirectory = ctx_.profileDirectory;
      request.systemEntry = system.entry;
      request.parameterText = ctx_.parameterText;
      request.flavour = ctx_.hostFlavour;
      request.verbose = ctx_.verboseMode;
      request.detail = ctx_.globalDetail;
      if (children_.Start(slot, kSystemProbeArgument, FormatRequest(request))) {
        system.slot = slot;
        slotSystem_[slot] = started_;
      } else {
        system.here = true;
      }
      ++started_;
    }
  }

  // Takes what the child in `slot` has written; at the end of its output, its exit status.
  void TakeOutput(std::size_t slot) {
    ListedSystem& system = systems_[slotSystem_[slot]];
    std::string bytes;
    if (children_.Read(slot, bytes)) {
      // A child whose report breaks the format is not listened to any longer.
      if (!system.report.Feed(bytes)) children_.Kill(slot);
      return;
    }
    system.status = children_.Finish(slot);
    system.ended = true;
    system.slot = kNoSlot;
    slotSystem_[slot] = kNoSlot;
  }

  // The deadline names the earliest unfinished system, in the step its child last entered.
  void ShowEarliestUnfinished() {
    const ListedSystem& system = systems_[judged_];
    const SystemReport& report = system.report.Report();
    if (report.operation.empty()) {
      EnterStep(ctx_, "ReadSystemProfile", system.entry);
    } else {
      EnterStep(ctx_, report.operation,
                report.destination.empty() ? system.entry : report.destination);
    }
  }

  void Print(const PrintedPieces& pieces) {
    for (const auto& [kind, text] : pieces) {
      if (kind == 'O') {
        ctx_.console.Write(text);
      } else {
        ctx_.console.WriteError(text);
      }
    }
  }

  // Prints what the system's child printed and judges the system as the run in turn would,
  // as soon as its result is there; returns the exit status when the run ends with it.
  std::optional<int> Judge(ListedSystem& system) {
    // Measured in turn, with the print lock free for the deadline while it waits on SAP.
    if (system.here) return MeasureHere(ctx_, system.entry);
    const SystemReport& report = system.report.Report();
    {
      // Nothing of the deadline's may come between the pieces and the ending they belong to.
      PrintGuard guard(ctx_.console.Lock());
      ++ctx_.systemCount;
      Print(report.printed);
      if (!report.broken && report.fatal) {
        FailRun(ctx_, *report.fatal);
      } else {
        return JudgeVerdict(system);
      }
    }
    return EndWithFatalSystem(system);
  }

  std::optional<int> JudgeVerdict(const ListedSystem& system) {
    const SystemReport& report = system.report.Report();
    std::string verdict;
    if (report.verdict && !report.broken) {
      verdict = *report.verdict;
      if (verdict == kNoVerdict) {
        KeepSystemWithoutProfile(ctx_, system.entry);
        return std::nullopt;
      }
    } else if (system.status == kExitRfcFailure && !report.broken) {
      // The RFC library's failure report, which the child printed before it ended.
      PrintEnding(ctx_, "", kExitRfcFailure);
      return kExitRfcFailure;
    } else {
      verdict = kRfcFailure;
    }
    if (report.milliseconds) NoteMeasurementTime(ctx_, *report.milliseconds);
    JudgeListedSystem(ctx_, system.entry, verdict,
                      report.broken ? std::string() : report.message.value_or(std::string()));
    if (ctx_.verboseMode) {
      const std::string line = report.consoleLine
                                   ? *report.consoleLine
                                   : "* " + ctx_.clock.TimeOfDay() + " " + system.entry + ", , , , ";
      ctx_.console.Write(VerdictLine(line, verdict));
    }
    return std::nullopt;
  }

  // The run has ended with the fatal system's document. As in turn, nothing of the later
  // systems counts any more, but the fatal system's connection is still to be closed: its
  // child is heard to its end, and what closing prints (the library's failure report) ends the
  // run as it would in turn. Until then the deadline, if it strikes, adds nothing.
  int EndWithFatalSystem(ListedSystem& system) {
    EndChildren(system.slot);
    while (!system.ended) TakeOutput(children_.WaitForOutput());
    const SystemReport& report = system.report.Report();
    PrintGuard guard(ctx_.console.Lock());
    Print(report.printedAfterResult);
    if (system.status == kExitRfcFailure && !report.broken) {
      PrintEnding(ctx_, "", kExitRfcFailure);
      return kExitRfcFailure;
    }
    return kExitError;
  }

  // Ends the children still running but the one in `keep`. A child ended while it was writing
  // its copy of a per-destination file, or while the NW RFC library read its own folder, leaves
  // that behind: it is removed while the child's id is still its own.
  void EndChildren(std::size_t keep) {
    for (std::size_t slot = 0; slot < width_; ++slot) {
      if (slotSystem_[slot] == kNoSlot || slot == keep) continue;
      children_.Kill(slot);
      RemoveTemporaryIniOf(ctx_.files, children_.Id(slot));
      children_.Finish(slot);
      systems_[slotSystem_[slot]].slot = kNoSlot;
      slotSystem_[slot] = kNoSlot;
    }
  }

  RunContext& ctx_;
  std::size_t width_;
  ChildProcesses children_;
  std::vector<ListedSystem> systems_;
  /// The system each slot's child measures, kNoSlot for a free slot.
  std::vector<std::size_t> slotSystem_;
  std::size_t started_ = 0;
  std::size_t judged_ = 0;
};

}  // namespace

std::optional<int> MeasureSideBySide(RunContext& ctx) {
  SideBySideRun run(ctx, TakeListedEntries(ctx));
  return run.Run();
}

}  // namespace kelvoran
