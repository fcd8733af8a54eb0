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
  /// True when both paths name one and the same existing file, as the file system sees it
  /// (letter case, links, Windows' trailing dots); false when either does not exist.
  virtual bool SameFile(const std::string& a, const std::string& b) = 0;
  /// Creates the directory `path`, for this account alone where the system has such rights;
  /// false when it cannot be created or something by that name is there already.
  virtual bool MakeFolder(const std::string& path) = 0;
  /// Removes the directory `path`, which must be empty; false when it could not be removed (a
  /// missing directory included).
  virtual bool RemoveFolder(const std::string& path) = 0;

  /// A file exists when it can be opened for reading in text mode.
  bool Exists(const std::string& path) { return Open(path, "r") != nullptr; }
};

/// The real file system, through the C library. Only regular files are ever opened: a
/// directory, a device or a pipe counts as no file at all, for reading and for writing, and a
/// Windows device name (platform/device_names.h) is never handed to the system, on any
/// platform. A path the platform cannot open whole (too long, or with a NUL character inside)
/// is no file either: it is never cut to fit.
class DiskFileSystem : public FileSystem {
 public:
  FilePtr Open(const std::string& path, const char* mode) override;
  bool Remove(const std::string& path) override;
  bool Rename(const std::string& from, const std::string& to) override;
  bool SameFile(const std::string& a, const std::string& b) override;
  bool MakeFolder(const std::string& path) override;
  bool RemoveFolder(const std::string& path) override;
};

}  // namespace kelvoran

#endif
