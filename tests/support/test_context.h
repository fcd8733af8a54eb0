// A run context over captured output, an in-memory clock and the disk, for unit tests.
#ifndef KELVORAN_TESTS_SUPPORT_TEST_CONTEXT_H
#define KELVORAN_TESTS_SUPPORT_TEST_CONTEXT_H

#include "platform/clock.h"
#include "platform/console.h"
#include "platform/file_system.h"
#include "rfc/library_steps.h"
#include "run_context.h"

namespace kelvoran {

struct TestContext {
  // The tests link the simulated libraries: the table of operations is filled from them, as
  // a run fills it before its first system.
  TestContext() { (void)LoadRfcLibrary(ctx, ""); }

  CapturedConsole console;
  DiskFileSystem files;
  FixedClock clock{"14:03:07"};
  RunContext ctx{console, files, clock};
};

}  // namespace kelvoran

#endif
