/// Locks shared by every probe started in one working directory (a sensor folder, where the
/// RFC library's "SapRfc.ini" and "Dev_Rfc.Trc" are shared by all of them).
///
/// The locks are the operating system's byte-range locks on the lock file "Kelvoran.Lck" in
/// that directory: waiting for one blocks in the operating system (no polling), and the
/// operating system releases them when the process ends, however it ends (a monitor killing
/// an overrunning sensor included). Each range is a lock of its own, independent of the others,
/// and the locks of two `FolderLock` objects exclude each other even within one process.
#ifndef KELVORAN_PLATFORM_FOLDER_LOCK_H
#define KELVORAN_PLATFORM_FOLDER_LOCK_H

#include <cstdint>
#include <string>

namespace kelvoran {

/// The lock file, created in the working directory when first needed; it stays empty and is
/// never truncated or removed (removing a lock file races with processes that have it open).
inline constexpr const char* kFolderLockFileName = "Kelvoran.Lck";

/// The independent locks of the lock file.
enum class FolderLockRange {
  /// Held exclusively from putting a copy over "SapRfc.ini" until RfcOpenEx has read it.
  SapRfcIni = 0,
  /// Held shared through a probe's RFC phase; taken exclusively only to delete the trace file.
  RfcPhase = 1,
};

class FolderLock {
 public:
  /// `path` is the lock file; nothing is opened until the first lock is asked for.
  explicit FolderLock(std::string path = kFolderLockFileName);
  /// Releases every lock held and closes the lock file.
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

  /// Waits until `range` is held exclusively; a shared lock this object holds on it is given up
  /// first. False when the lock file cannot be opened (it is not a regular file, or the
  /// directory is read-only) or the lock cannot be had.
  bool LockExclusive(FolderLockRange range);
  /// Waits until `range` is held shared with other shared holders. True at once when this
  /// object already holds it in either mode.
  bool LockShared(FolderLockRange range);
  /// Takes `range` exclusively only when no other holder has it; never waits. A shared lock
  /// this object holds on it is given up first.
  bool TryLockExclusive(FolderLockRange range);
  /// Gives up `range`; nothing happens when it is not held.
  void Unlock(FolderLockRange range);

  /// False once the lock file turned out to be unusable.
  bool Usable();

 private:
  enum class Held : std::uint8_t { None, Shared, Exclusive };
  static constexpr int kRanges = 2;

  bool Open();
  bool Lock(FolderLockRange range, bool exclusive, bool wait);

  std::string path_;
  /// The open lock file (a file descriptor or a Windows handle); -1 before it is opened.
  std::intptr_t handle_ = -1;
  bool unusable_ = false;
  Held held_[kRanges] = {Held::None, Held::None};
};

}  // namespace kelvoran

#endif
