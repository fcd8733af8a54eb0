#include "platform/append_file.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace kelvoran {

#ifdef _WIN32

AppendFile::AppendFile(const std::string& path) {
  // Appending access alone: every write of such a handle goes to the end of the file as one
  // operation.
  HANDLE file = CreateFileA(path.c_str(), FILE_APPEND_DATA,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  if (GetFileType(file) != FILE_TYPE_DISK) {
    CloseHandle(file);
    return;
  }
  handle_ = reinterpret_cast<std::intptr_t>(file);
}

AppendFile::~AppendFile() {
  if (IsOpen()) CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

bool AppendFile::Append(std::string_view text) {
  if (!IsOpen()) return false;
  if (text.size() > MAXDWORD) return false;
  const HANDLE file = reinterpret_cast<HANDLE>(handle_);
  // Windows appends each write whole, but Wine (where the Windows build is tested) moves to the
  // end and writes in two steps, between which another process may write. A lock on one byte
  // far beyond any content, which no read or write ever touches, makes the two one step there;
  // where the system refuses it on an append-only handle, the write goes ahead unlocked.
  OVERLAPPED beyond{};
  beyond.Offset = 0xFFFFFFFEu;
  beyond.OffsetHigh = 0x7FFFFFFFu;
  const bool locked = LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &beyond) != 0;
  DWORD written = 0;
  const bool whole = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written,
                               nullptr) != 0 &&
                     written == text.size();
  if (locked) UnlockFileEx(file, 0, 1, 0, &beyond);
  return whole;
}

#else

AppendFile::AppendFile(const std::string& path) {
  // Not blocking: a FIFO in the file's place must not hang the probe.
  const int fd =
      open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0666);
  if (fd < 0) return;
  struct stat status {};
  if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    close(fd);
    return;
  }
  handle_ = fd;
}

AppendFile::~AppendFile() {
  if (IsOpen()) close(static_cast<int>(handle_));
}

bool AppendFile::Append(std::string_view text) {
  if (!IsOpen()) return false;
  // One write puts the whole piece at the end of the file. Only a full disk or a signal can
  // cut it short; the rest then follows, since a piece cut in two beats a piece lost.
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t written =
        write(static_cast<int>(handle_), text.data() + done, text.size() - done);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    done += static_cast<std::size_t>(written);
  }
  return true;
}

#endif

}  // namespace kelvoran
