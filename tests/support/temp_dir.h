// A fresh temporary directory for one test, removed with everything in it afterwards.
#ifndef KELVORAN_TESTS_SUPPORT_TEMP_DIR_H
#define KELVORAN_TESTS_SUPPORT_TEMP_DIR_H

#include <filesystem>
#include <string>

namespace kelvoran {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  /// Writes `content` byte for byte to the file `name` in the directory.
  void Write(const std::string& name, const std::string& content) const;
  /// The whole content of the file `name`; empty when it does not exist.
  std::string Read(const std::string& name) const;
  /// The content of the file `name` as a text-mode stream reads it (on Windows CR LF as LF):
  /// for files that the probe or the library writes in text mode.
  std::string ReadText(const std::string& name) const;
  bool Exists(const std::string& name) const;

 private:
  std::filesystem::path path_;
};

/// Makes a directory the working directory for the life of this object.
class ScopedWorkingDirectory {
 public:
  explicit ScopedWorkingDirectory(const std::filesystem::path& path)
      : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(path);
  }
  ~ScopedWorkingDirectory() { std::filesystem::current_path(previous_); }
  ScopedWorkingDirectory(const ScopedWorkingDirectory&) = delete;
  ScopedWorkingDirectory& operator=(const ScopedWorkingDirectory&) = delete;

 private:
  std::filesystem::path previous_;
};

}  // namespace kelvoran

#endif
