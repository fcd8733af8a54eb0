#include "whole_file.h"

#include <cstdio>

namespace simsap {

bool ReadWholeFile(const std::string& path, std::string& text) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return false;
  text.clear();
  // Unbuffered reads of whole pages: the library is loaded at every start of the probe, and
  // a landscape of a page or two is then read with one or two system calls.
  std::setvbuf(file, nullptr, _IONBF, 0);
  char block[4096];
  std::size_t got;
  do {
    got = std::fread(block, 1, sizeof block, file);
    text.append(block, got);
  } while (got == sizeof block);
  const bool ok = std::ferror(file) == 0;
  std::fclose(file);
  return ok;
}

}  // namespace simsap
