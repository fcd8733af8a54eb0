#include "platform/folder_lock.h"

#include <utility>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace kelvoran {

namespace {

#ifdef _WIN32

HANDLE AsHandle(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

// The region of a range: one byte at its number. The file stays empty; a lock may lie beyond
// the end of a file, and nobody reads or writes the lock file, so no access is ever refused.
OVERLAPPED RegionOf(FolderLockRange range) {
  OVERLAPPED region{};
  region.Offset = static_cast<DWORD>(range);
  return region;
}

std::intptr_t OpenLockFile(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return -1;
  if (GetFileType(file) != FILE_TYPE_DISK) {
    CloseHandle(file);
    return -1;
  }
  return reinterpret_cast<std::intptr_t>(file);
}

void CloseLockFile(std::intptr_t handle) { CloseHandle(AsHandle(handle)); }

bool LockRegion(std::intptr_t handle, FolderLockRange range, bool exclusive, bool wait) {
  OVERLAPPED region = RegionOf(range);
  DWORD flags = 0;
  if (exclusive) flags |= LOCKFILE_EXCLUSIVE_LOCK;
  if (!wait) flags |= LOCKFILE_FAIL_IMMEDIATELY;
  // On a handle opened for synchronous access a waiting lock returns only once it is granted.
  return LockFileEx(AsHandle(handle), flags, 0, 1, 0, &region) != 0;
}

void UnlockRegion(std::intptr_t handle, FolderLockRange range) {
  OVERLAPPED region = RegionOf(range);
  UnlockFileEx(AsHandle(handle), 0, 1, 0, &region);
}

#else

// Locks of the open file description where the system has them: they belong to this open
// lock file, not to the whole process, so two lock objects exclude each other in one process
// too, and closing some other descriptor of the file never drops them.
#ifdef F_OFD_SETLKW
constexpr int kSetLock = F_OFD_SETLK;
constexpr int kSetLockWait = F_OFD_SETLKW;
#else
constexpr int kSetLock = F_SETLK;
constexpr int kSetLockWait = F_SETLKW;
#endif

std::intptr_t OpenLockFile(const std::string& path) {
  // Not blocking: a FIFO put in the lock file's place must not hang the probe.
  const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0666);
  if (fd < 0) return -1;
  struct stat status {};
  if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    close(fd);
    return -1;
  }
  return fd;
}

void CloseLockFile(std::intptr_t handle) { close(static_cast<int>(handle)); }

struct flock RegionOf(FolderLockRange range, short type) {
  struct flock region {};
  region.l_type = type;
  region.l_whence = SEEK_SET;
  region.l_start = static_cast<off_t>(range);
  region.l_len = 1;
  region.l_pid = 0;  // required to be 0 for locks of the open file description
  return region;
}

bool LockRegion(std::intptr_t handle, FolderLockRange range, bool exclusive, bool wait) {
  struct flock region = RegionOf(range, exclusive ? F_WRLCK : F_RDLCK);
  int result;
  do {
    result = fcntl(static_cast<int>(handle), wait ? kSetLockWait : kSetLock, &region);
  } while (result != 0 && errno == EINTR);
  return result == 0;
}

void UnlockRegion(std::intptr_t handle, FolderLockRange range) {
  struct flock region = RegionOf(range, F_UNLCK);
  fcntl(static_cast<int>(handle), kSetLock, &region);
}

#endif

}  // namespace

FolderLock::FolderLock(std::string path) : path_(std::move(path)) {}

FolderLock::~FolderLock() {
  if (handle_ == -1) return;
  for (int range = 0; range < kRanges; ++range) Unlock(static_cast<FolderLockRange>(range));
  CloseLockFile(handle_);
}

bool FolderLock::Open() {
  if (handle_ != -1) return true;
  if (unusable_) return false;
  handle_ = OpenLockFile(path_);
  unusable_ = handle_ == -1;
  return !unusable_;
}

bool FolderLock::Usable() { return Open(); }

bool FolderLock::Lock(FolderLockRange range, bool exclusive, bool wait) {
  if (!Open()) return false;
  Held& held = held_[static_cast<int>(range)];
  if (held == Held::Exclusive) return true;
  if (held == Held::Shared) {
    if (!exclusive) return true;
    // Given up before asking again: a shared lock of this object would stand in the way of
    // its own exclusive one on Windows, and the two systems should behave alike.
    Unlock(range);
  }
  if (!LockRegion(handle_, range, exclusive, wait)) return false;
  held = exclusive ? Held::Exclusive : Held::Shared;
  return true;
}

bool FolderLock::LockExclusive(FolderLockRange range) { return Lock(range, true, true); }

bool FolderLock::LockShared(FolderLockRange range) { return Lock(range, false, true); }

bool FolderLock::TryLockExclusive(FolderLockRange range) { return Lock(range, true, false); }

void FolderLock::Unlock(FolderLockRange range) {
  Held& held = held_[static_cast<int>(range)];
  if (held == Held::None) return;
  UnlockRegion(handle_, range);
  held = Held::None;
}

}  // namespace kelvoran
