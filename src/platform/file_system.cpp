#include "platform/file_system.h"

#include <cstdio>

#include <sys/stat.h>
#include <sys/types.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

#include "platform/device_names.h"

namespace kelvoran {

namespace {

// Whether the C library may be handed `path` at all.
bool Nameable(const std::string& path) {
  if (path.empty() || path.find('\0') != std::string::npos) return false;
  if (IsReservedDeviceName(path)) return false;
#ifdef _WIN32
  // The C runtime's file functions take at most MAX_PATH characters, the terminating NUL
  // included.
  if (path.size() >= MAX_PATH) return false;
#endif
  return true;
}

enum class Kind { Missing, Regular, Directory, Other };

Kind KindOf(const std::string& path) {
  struct stat status;
  if (stat(path.c_str(), &status) != 0) return Kind::Missing;
  if (S_ISREG(status.st_mode)) return Kind::Regular;
  return S_ISDIR(status.st_mode) ? Kind::Directory : Kind::Other;
}

bool IsRegular(std::FILE* file) {
  struct stat status;
  return fstat(fileno(file), &status) == 0 && S_ISREG(status.st_mode);
}

}  // namespace

FilePtr DiskFileSystem::Open(const std::string& path, const char* mode) {
  if (!Nameable(path)) return nullptr;
  // Looked at before opening: opening a pipe or a device may never return.
  const Kind kind = KindOf(path);
  if (kind == Kind::Other || kind == Kind::Directory || (mode[0] == 'r' && kind == Kind::Missing))
    return nullptr;
  FilePtr file(std::fopen(path.c_str(), mode));
  // And again once open, in case something else took the name's place in between.
  if (file && !IsRegular(file.get())) return nullptr;
  return file;
}

bool DiskFileSystem::MakeFolder(const std::string& path) {
  if (!Nameable(path)) return false;
#ifdef _WIN32
  return CreateDirectoryA(path.c_str(), nullptr) != 0;
#else
  return mkdir(path.c_str(), 0700) == 0;
#endif
}

bool DiskFileSystem::RemoveFolder(const std::string& path) {
  if (!Nameable(path) || KindOf(path) != Kind::Directory) return false;
#ifdef _WIN32
  return RemoveDirectoryA(path.c_str()) != 0;
#else
  return rmdir(path.c_str()) == 0;
#endif
}

bool DiskFileSystem::Remove(const std::string& path) {
  return Nameable(path) && KindOf(path) == Kind::Regular && std::remove(path.c_str()) == 0;
}

bool DiskFileSystem::Rename(const std::string& from, const std::string& to) {
  if (!Nameable(from) || !Nameable(to) || KindOf(from) != Kind::Regular ||
      (KindOf(to) != Kind::Regular && KindOf(to) != Kind::Missing))
    return false;
#ifdef _WIN32
  // rename() on Windows refuses to replace an existing file.
  return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
#else
  return std::rename(from.c_str(), to.c_str()) == 0;
#endif
}

#ifdef _WIN32

namespace {

struct FileIdentity {
  DWORD volume = 0, indexHigh = 0, indexLow = 0;
};

bool IdentityOf(const std::string& path, FileIdentity& identity) {
  const HANDLE file = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  BY_HANDLE_FILE_INFORMATION information;
  const bool known = GetFileInformationByHandle(file, &information) != 0;
  CloseHandle(file);
  if (!known) return false;
  identity = {information.dwVolumeSerialNumber, information.nFileIndexHigh,
              information.nFileIndexLow};
  return true;
}

}  // namespace

bool DiskFileSystem::SameFile(const std::string& a, const std::string& b) {
  if (!Nameable(a) || !Nameable(b) || KindOf(a) != Kind::Regular || KindOf(b) != Kind::Regular)
    return false;
  FileIdentity first, second;
  return IdentityOf(a, first) && IdentityOf(b, second) && first.volume == second.volume &&
         first.indexHigh == second.indexHigh && first.indexLow == second.indexLow;
}

#else

bool DiskFileSystem::SameFile(const std::string& a, const std::string& b) {
  if (!Nameable(a) || !Nameable(b)) return false;
  struct stat first, second;
  return stat(a.c_str(), &first) == 0 && stat(b.c_str(), &second) == 0 &&
         S_ISREG(first.st_mode) && S_ISREG(second.st_mode) && first.st_dev == second.st_dev &&
         first.st_ino == second.st_ino;
}

#endif

}  // namespace kelvoran
