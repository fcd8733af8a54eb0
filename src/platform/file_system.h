/// The file-system seam: every file the probe opens, creates, renames or deletes goes through it.
///
/// Abstract so that tests can lay out files (Windows paths included) without touching the disk.
#ifndef KELVORAN_PLATFORM_FILE_SYSTEM_H
#define KELVORAN_PLATFORM_FILE_SYSTEM_H

#include <cstdio>
#include <memory>
#include <string>

namespace kelvoran {

struct FileCloser {
  void operator()(std::FILE* file) const noexcept {
    if (file != nullptr) std::fclose(file);
  }
};
/// An open C stream, closed when it goes out of scope.
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  /// Opens `path` exactly as named with a C stdio mode ("r", "rb", "wb", "a"); null on failure.
  virtual FilePtr Open(const std::string& path, const char* mode) = 0;
  /// Deletes a file; false when it could not be deleted (a missing file included).
  virtual bool Remove(const std::string& path) = 0;
  /// Renames `from` to `to`, replacing `to`; false on failure.
  virtual bool Rename(const std::string& from, const std::string& to) = 0;

  /// A file exists when it can be opened for reading in text mode.
  bool Exists(const std::string& path) { return Open(path, "r") != nullptr; }
};

/// The real file system, through the C library.
class DiskFileSystem : public FileSystem {
 public:
  FilePtr Open(const std::string& path, const char* mode) override;
  bool Remove(const std::string& path) override;
  bool Rename(const std::string& from, const std::string& to) override;
};

}  // namespace kelvoran

#endif
