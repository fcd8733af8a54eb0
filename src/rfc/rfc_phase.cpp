#include "rfc/rfc_phase.h"

#include "platform/folder_lock.h"
#include "rfc/library_steps.h"
#include "run_context.h"

namespace kelvoran {

void EnterRfcPhase(RunContext& ctx) {
  if (ctx.folderLock != nullptr) ctx.folderLock->LockShared(FolderLockRange::RfcPhase);
}

void RemoveTraceFileUnlessInUse(RunContext& ctx) {
  const char* traceFile = LibraryTraceFile();
  FolderLock* lock = ctx.folderLock;
  if (lock == nullptr || !lock->Usable()) {
    if (traceFile != nullptr) ctx.files.Remove(traceFile);
    return;
  }
  // Exclusive only when no other probe holds the phase lock; held while deleting, so that a
  // probe entering its phase meanwhile waits until the file is gone and finds none of ours.
  if (lock->TryLockExclusive(FolderLockRange::RfcPhase) && traceFile != nullptr) {
    ctx.files.Remove(traceFile);
  }
  lock->Unlock(FolderLockRange::RfcPhase);
}

}  // namespace kelvoran
