#include "rfc/rfc_phase.h"

#include "platform/folder_lock.h"
#include "rfc/trace_scan.h"
#include "run_context.h"

namespace kelvoran {

void EnterRfcPhase(RunContext& ctx) {
  if (ctx.folderLock != nullptr) ctx.folderLock->LockShared(FolderLockRange::RfcPhase);
}

void RemoveTraceFileUnlessInUse(RunContext& ctx) {
  FolderLock* lock = ctx.folderLock;
  if (lock == nullptr || !lock->Usable()) {
    ctx.files.Remove(kTraceFileName);
    return;
  }
  // Exclusive only when no other probe holds the phase lock; held while deleting, so that a
  // probe entering its phase meanwhile waits until the file is gone and finds none of ours.
  if (lock->TryLockExclusive(FolderLockRange::RfcPhase)) ctx.files.Remove(kTraceFileName);
  lock->Unlock(FolderLockRange::RfcPhase);
}

}  // namespace kelvoran
