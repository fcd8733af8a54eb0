#include "platform/file_system.h"

#include <cstdio>

#ifdef _WIN32
#include <windows.h>
#endif

namespace kelvoran {

FilePtr DiskFileSystem::Open(const std::string& path, const char* mode) {
  return FilePtr(std::fopen(path.c_str(), mode));
}

bool DiskFileSystem::Remove(const std::string& path) { return std::remove(path.c_str()) == 0; }

bool DiskFileSystem::Rename(const std::string& from, const std::string& to) {
#ifdef _WIN32
  // rename() on Windows refuses to replace an existing file.
  return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
#else
  return std::rename(from.c_str(), to.c_str()) == 0;
#endif
}

}  // namespace kelvoran
