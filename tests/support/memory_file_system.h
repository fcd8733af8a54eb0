// An in-memory file system for tests: files are laid out by path (Windows paths included) and
// every open is recorded, so a test can check exactly which files were probed, in what order.
#ifndef KELVORAN_TESTS_SUPPORT_MEMORY_FILE_SYSTEM_H
#define KELVORAN_TESTS_SUPPORT_MEMORY_FILE_SYSTEM_H

#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "support/content_stream.h"

namespace kelvoran {

class MemoryFileSystem : public FileSystem {
 public:
  void Add(const std::string& path, const std::string& content) { files_[path] = content; }

  /// Opening for reading gives a temporary stream holding the file's content; files cannot be
  /// written.
  FilePtr Open(const std::string& path, const char* mode) override {
    probes_.push_back(path);
    const auto file = files_.find(path);
    if (file == files_.end() || mode[0] != 'r') return nullptr;
    return StreamHolding(file->second);
  }
  bool Remove(const std::string& path) override { return files_.erase(path) > 0; }
  bool Rename(const std::string& from, const std::string& to) override {
    const auto file = files_.find(from);
    if (file == files_.end()) return false;
    if (from == to) return true;
    files_[to] = file->second;
    files_.erase(from);
    return true;
  }

  /// Paths name the same file only when they are equal, as on a file system that tells letter
  /// cases apart.
  bool SameFile(const std::string& a, const std::string& b) override {
    return a == b && files_.count(a) != 0;
  }

  bool MakeFolder(const std::string& path) override {
    return files_.count(path) == 0 && directories_.insert(path).second;
  }
  bool RemoveFolder(const std::string& path) override { return directories_.erase(path) > 0; }

  /// Every path opened so far, in order.
  const std::vector<std::string>& Probes() const { return probes_; }

 private:
  std::map<std::string, std::string> files_;
  std::set<std::string> directories_;
  std::vector<std::string> probes_;
};

}  // namespace kelvoran

#endif
