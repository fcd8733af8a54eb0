#include "trace_file.h"

#include <cstdio>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#endif

#include "simulated_systems.h"

namespace simrfc {

namespace {

std::string Format(const std::tm& time, const char* format) {
  char text[32];
  const std::size_t length = std::strftime(text, sizeof text, format, &time);
  return std::string(text, length);
}

// "T:" and the connection handle in four digits: the fixed prefix before "======> ".
std::string Prefix(RFC_HANDLE handle) {
  char prefix[8];
  std::snprintf(prefix, sizeof prefix, "T:%04u ", static_cast<unsigned>(handle % 10000));
  return prefix;
}

bool IsMissingOrEmpty(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return true;
  const bool empty = std::fgetc(file) == EOF;
  std::fclose(file);
  return empty;
}

// Appends `entry` to the file at `path` in one write of the operating system: entries of
// processes that fail at the same time follow each other whole. (The C library's streams may
// split a write, and on Windows their append mode seeks and writes in two steps.)
bool AppendWhole(const std::string& path, const std::string& entry) {
#ifdef _WIN32
  // Lines end as in a text-mode file of the C runtime, CR LF, as a Windows library writes them.
  std::string text;
  text.reserve(entry.size() + entry.size() / 16);
  for (char c : entry) {
    if (c == '\n') text += '\r';
    text += c;
  }
  HANDLE file = CreateFileA(path.c_str(), FILE_APPEND_DATA,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  // Wine appends in two steps (to the end, then the write): a lock on one byte far beyond any
  // entry makes them one, as the probe's log does. Windows appends whole with or without it.
  OVERLAPPED beyond{};
  beyond.Offset = 0xFFFFFFFEu;
  beyond.OffsetHigh = 0x7FFFFFFFu;
  const bool locked = LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &beyond) != 0;
  DWORD written = 0;
  const bool whole = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written,
                               nullptr) != 0 && written == text.size();
  if (locked) UnlockFileEx(file, 0, 1, 0, &beyond);
  return CloseHandle(file) != 0 && whole;
#else
  const int fd = open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOCTTY, 0666);
  if (fd < 0) return false;
  ssize_t written;
  do {
    written = write(fd, entry.data(), entry.size());
  } while (written < 0 && errno == EINTR);
  return close(fd) == 0 && written == static_cast<ssize_t>(entry.size());
#endif
}

}  // namespace

std::string FormatTraceEntry(bool opening, const std::tm& now, const char* operation,
                             RFC_HANDLE handle, const LibraryError& error) {
  std::string entry;
  if (opening) entry += "**** ERROR file opened at " + Format(now, "%Y%m%d %H%M%S") + "\n";
  const std::string detail = "ERROR       ";
  entry += detail + operation + " at " + Format(now, "%H:%M:%S") + ": " + OneLine(error.key) + "\n";
  if (!error.status.empty()) entry += detail + "status: " + OneLine(error.status) + "\n";
  if (!error.internalStatus.empty()) {
    entry += detail + "internal status: " + OneLine(error.internalStatus) + "\n";
  }
  for (const std::string& line : error.details) entry += detail + OneLine(line) + "\n";
  entry += Prefix(handle) + "======> " + OneLine(error.message) + "\n";
  return entry;
}

void TraceFile::Append(const std::string& path, const std::tm& now, const char* operation,
                       RFC_HANDLE handle, const LibraryError& error) {
  const bool opening = !opened_ || IsMissingOrEmpty(path);
  if (AppendWhole(path, FormatTraceEntry(opening, now, operation, handle, error))) opened_ = true;
}

}  // namespace simrfc
