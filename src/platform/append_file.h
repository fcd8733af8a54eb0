/// A file that several processes append to at the same time (the log file): each piece is
/// handed to the operating system in one write at the end of the file, so pieces of different
/// processes follow each other whole and never interleave.
///
/// The C library cannot promise that: its streams may split a piece over several writes, and
/// on Windows its append mode moves to the end and writes in two steps, between which another
/// process may write.
#ifndef KELVORAN_PLATFORM_APPEND_FILE_H
#define KELVORAN_PLATFORM_APPEND_FILE_H

#include <cstdint>
#include <string>
#include <string_view>

namespace kelvoran {

class AppendFile {
 public:
  /// Opens `path` for appending, creating it when it is missing; `IsOpen` tells whether that
  /// worked. Only a regular file is opened: a directory, device or FIFO of that name is not.
  explicit AppendFile(const std::string& path);
  ~AppendFile();
  AppendFile(const AppendFile&) = delete;
  AppendFile& operator=(const AppendFile&) = delete;

  bool IsOpen() const { return handle_ != -1; }
  /// Appends `text` in one write; false when it was not written whole.
  bool Append(std::string_view text);

 private:
  /// A file descriptor or a Windows handle; -1 when the file is not open.
  std::intptr_t handle_ = -1;
};

}  // namespace kelvoran

#endif
