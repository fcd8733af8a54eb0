// Kelvoran: monitoring probe for SAP R/3 systems on DB2 for IBM i.
#include "driver/program.h"
#include "driver/system_probe.h"
#include "platform/clock.h"
#include "platform/console.h"
#include "platform/file_system.h"
#include "platform/folder_lock.h"
#include "platform/process_start.h"
#include "run_context.h"

int main(int argc, char** argv) {
  kelvoran::SettleProcessStart();
  kelvoran::DiskFileSystem files;
  kelvoran::SystemClock clock;
  kelvoran::FolderLock folderLock;
  // A probe started by a global run with PARALLEL=n to measure one of its systems.
  if (kelvoran::IsSystemProbeInvocation(argc, argv)) {
    return kelvoran::RunSystemProbe(files, clock, folderLock);
  }
  kelvoran::StandardOutput console;
  kelvoran::RunContext ctx(console, files, clock);
  ctx.folderLock = &folderLock;
  ctx.startsSystemProbes = true;
  const int status = kelvoran::RunProgram(ctx, argc, argv);
  console.Flush();
  return status;
}
