#include "rfc/rfc_phase.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "platform/folder_lock.h"
#include "rfc/library_steps.h"
#include "support/temp_dir.h"
#include "support/test_context.h"

namespace kelvoran {
namespace {

// A probe of the folder with a lock of its own, as a process has.
struct OtherProbe {
  FolderLock lock;
  TestContext t;
  OtherProbe() { t.ctx.folderLock = &lock; }
};

// The classic library's trace file in the working directory.
constexpr const char* kTraceFileName = "Dev_Rfc.Trc";

// A successful run's deletion of the trace file, with another probe of the folder in its RFC
// phase or not. The NW RFC library writes no such file, and a run built for it deletes none.
TEST(RfcPhaseTest, TheTraceFileGoesOnlyWhenNoOtherProbeIsInItsRfcPhase) {
  enum class Folder { NoLock, Alone, OtherInRfcPhase, OtherEnded, LockFileUnusable };
  struct Case {
    const char* label;
    Folder folder;
    bool removed;
  } cases[] = {
      {"no lock to coordinate with", Folder::NoLock, true},
      {"alone in the folder", Folder::Alone, true},
      {"another probe in its RFC phase", Folder::OtherInRfcPhase, false},
      {"another probe was in it and ended", Folder::OtherEnded, true},
      {"lock file unusable: counts as alone", Folder::LockFileUnusable, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    TempDir dir;
    ScopedWorkingDirectory cwd(dir.Path());
    dir.Write(kTraceFileName, "ERROR       of another probe\n");
    if (c.folder == Folder::LockFileUnusable) {
      std::filesystem::create_directory(kFolderLockFileName);
    }
    auto other = std::make_unique<OtherProbe>();
    if (c.folder == Folder::OtherInRfcPhase || c.folder == Folder::OtherEnded) {
      // A global run enters once per system.
      EnterRfcPhase(other->t.ctx);
      EnterRfcPhase(other->t.ctx);
    }
    if (c.folder == Folder::OtherEnded) other.reset();

    FolderLock lock;
    TestContext t;
    if (c.folder != Folder::NoLock) t.ctx.folderLock = &lock;
    EnterRfcPhase(t.ctx);
    RemoveTraceFileUnlessInUse(t.ctx);
    const bool classic = LibraryTraceFile() != nullptr;
    EXPECT_EQ(dir.Exists(kTraceFileName), !(c.removed && classic));

    // The successful run's phase is over either way: once the other probe ends too, nothing
    // keeps a later run from deleting.
    if (c.folder != Folder::LockFileUnusable) {
      other.reset();
      FolderLock later;
      EXPECT_TRUE(later.TryLockExclusive(FolderLockRange::RfcPhase));
    }
  }
}

}  // namespace
}  // namespace kelvoran
