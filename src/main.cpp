// Kelvoran: monitoring probe for SAP R/3 systems on DB2 for IBM i.
#include "driver/program.h"
#include "platform/clock.h"
#include "platform/console.h"
#include "platform/file_system.h"
#include "platform/folder_lock.h"
#include "run_context.h"

int main(int argc, char** argv) {
  kelvoran::StandardOutput console;
  kelvoran::DiskFileSystem files;
  kelvoran::SystemClock clock;
  kelvoran::FolderLock folderLock;
  kelvoran::RunContext ctx(console, files, clock);
  ctx.folderLock = &folderLock;
  const int status = kelvoran::RunProgram(ctx, argc, argv);
  console.Flush();
  return status;
}
