#ifndef _WIN32

#include <unistd.h>

#include <vector>

#include "platform/own_executable.h"

namespace kelvoran {

// Linux names it in /proc; other POSIX systems have no such link, and the probe then starts no
// copy of itself and looks for SAP's library only through the loader's path.
std::string OwnExecutable() {
#if defined(__linux__)
  std::vector<char> path(4096);
  for (;;) {
    const ssize_t length = readlink("/proc/self/exe", path.data(), path.size());
    if (length < 0) return std::string();
    if (static_cast<std::size_t>(length) < path.size()) {
      return std::string(path.data(), static_cast<std::size_t>(length));
    }
    if (path.size() >= 65536) return std::string();
    path.resize(path.size() * 2);
  }
#else
  return std::string();
#endif
}

}  // namespace kelvoran

#endif
