#include "trace_file.h"

#include <cstdio>

#include "text.h"

namespace simrfc {

namespace {

std::string Format(const std::tm& time, const char* format) {
  char text[32];
  const std::size_t length = std::strftime(text, sizeof text, format, &time);
  return std::string(text, length);
}

// "T:" and the connection handle in four digits: the fixed prefix before "======> ".
std::string Prefix(RfcHandle handle) {
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

}  // namespace

std::string FormatTraceEntry(bool opening, const std::tm& now, const char* operation,
                             RfcHandle handle, const LibraryError& error) {
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
                       RfcHandle handle, const LibraryError& error) {
  const bool opening = !opened_ || IsMissingOrEmpty(path);
  std::FILE* file = std::fopen(path.c_str(), "a");
  if (file == nullptr) return;
  const std::string entry = FormatTraceEntry(opening, now, operation, handle, error);
  const bool written = std::fwrite(entry.data(), 1, entry.size(), file) == entry.size();
  if (std::fclose(file) == 0 && written) opened_ = true;
}

}  // namespace simrfc
