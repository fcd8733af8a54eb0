// A stream that holds a given content, read from its start: what a test's file system hands
// out for a file it keeps in memory.
#ifndef KELVORAN_TESTS_SUPPORT_CONTENT_STREAM_H
#define KELVORAN_TESTS_SUPPORT_CONTENT_STREAM_H

#include <cstdio>
#include <stdexcept>
#include <string>

#ifdef _WIN32
#include <windows.h>

#include <atomic>
#include <filesystem>
#endif

#include "platform/file_system.h"

namespace kelvoran {

/// A stream holding `content`, positioned at its start, deleted when closed. Throws when no
/// such stream can be made, so that a test fails there instead of seeing a missing file.
inline FilePtr StreamHolding(const std::string& content) {
#ifdef _WIN32
  // The C runtime's tmpfile() creates its files in the root folder of the current drive, by a
  // name it checks before it opens it, which fails for concurrent test programs (and for a
  // user who may not write there): the stream lives in the temporary folder instead, under a
  // name no other process uses, and the runtime deletes it when it is closed ("D").
  static std::atomic<unsigned long> counter{0};
  const std::filesystem::path name =
      std::filesystem::temp_directory_path() /
      ("kelvoran-stream-" + std::to_string(GetCurrentProcessId()) + "-" +
       std::to_string(GetTickCount64()) + "-" + std::to_string(counter++));
  FilePtr stream(_wfopen(name.wstring().c_str(), L"w+bD"));
#else
  FilePtr stream(std::tmpfile());
#endif
  if (!stream) throw std::runtime_error("no temporary stream for a file's content");
  if (std::fwrite(content.data(), 1, content.size(), stream.get()) != content.size())
    throw std::runtime_error("a file's content cannot be written to its temporary stream");
  std::rewind(stream.get());
  return stream;
}

}  // namespace kelvoran

#endif
