#include "driver/system_probe.h"

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "driver/command_line.h"
#include "driver/listed_system.h"
#include "driver/run_deadline.h"
#include "driver/system_pipe.h"
#include "platform/child_processes.h"
#include "platform/console.h"
#include "rfc/connection.h"
#include "run_context.h"

namespace kelvoran {

namespace {

// Everything the measurement prints goes to the parent as records, which the parent prints
// when it judges the system.
class ParentPipeConsole : public Console {
 public:
  void Write(std::string_view text) override { WriteToParent(FormatRecord('O', text)); }
  void WriteError(std::string_view text) override { WriteToParent(FormatRecord('W', text)); }
  void Flush() override {}
};

std::optional<SystemRequest> ReadRequest() {
  RequestReader reader;
  char buffer[4096];
  for (;;) {
    if (std::optional<SystemRequest> request = reader.Complete()) return request;
    const std::size_t got = ReadFromParent(buffer, sizeof buffer);
    if (got == 0 || !reader.Feed(std::string_view(buffer, got))) return std::nullopt;
  }
}

void ReportStep(std::string_view operation, std::optional<std::string_view> destination) {
  std::string records = FormatRecord('A', operation);
  if (destination) records += FormatRecord('N', *destination);
  WriteToParent(records);
}

}  // namespace

bool IsSystemProbeInvocation(int argc, const char* const* argv) {
  return argc == 2 && argv[1] != nullptr && std::string_view(argv[1]) == kSystemProbeArgument;
}

int RunSystemProbe(FileSystem& files, Clock& clock, FolderLock& folderLock) {
  const std::optional<SystemRequest> request = ReadRequest();
  if (!request) {
    std::fputs("kelvoran: --measure-system is started by a global run with PARALLEL=n only\n",
               stderr);
    return kExitError;
  }
  if (!WatchParent(request->parentId)) return kExitError;

  ParentPipeConsole console;
  RunContext ctx(console, files, clock);
  ctx.folderLock = &folderLock;
  ctx.globalRun = true;
  ctx.envelopeOpen = true;
  ctx.hostFlavour = request->flavour;
  ctx.verboseMode = request->verbose;
  ctx.globalDetail = request->detail;
  ctx.profileDirectory = request->profileDirectory;
  ctx.parameterText = request->parameterText;
  RebuildParameterString(ctx);
  ReadClientCode(ctx);
  ctx.reportStep = ReportStep;

  if (!ReadListedProfile(ctx, request->systemEntry)) {
    WriteToParent(FormatRecord('R', kNoVerdict));
    return kExitCompleted;
  }
  if (ctx.verboseMode) WriteToParent(FormatRecord('L', ctx.startBanner));
  const ListedOutcome outcome = MeasureListedSystem(ctx);
  if (outcome.fatal) {
    WriteToParent(FormatRecord('X', *outcome.fatal));
    // The run's last document is out with the parent's judgement; closing follows it, as in
    // the run in turn, and the parent goes on reading until this probe has ended: the steps
    // of closing for its deadline, and what closing prints (a failure report of the library).
    MarkLastDocumentOut(ctx, kExitError);
    CloseConnection(ctx);
    return kExitError;
  }
  std::string result = FormatRecord('T', std::to_string(outcome.milliseconds));
  if (!outcome.message.empty()) result += FormatRecord('M', outcome.message);
  WriteToParent(result + FormatRecord('R', outcome.verdict));
  return kExitCompleted;
}

}  // namespace kelvoran
