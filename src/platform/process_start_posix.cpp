// Start-up on POSIX systems: file descriptors 0, 1 and 2 valid, SIGCHLD at its default.
#ifndef _WIN32

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

#include "platform/process_start.h"

namespace kelvoran {

void SettleProcessStart() {
  std::signal(SIGCHLD, SIG_DFL);
  for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
    if (fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
    // The lowest free number is the closed stream's own, as the streams are settled in order.
    const int opened = open("/dev/null", fd == STDIN_FILENO ? O_RDONLY : O_WRONLY);
    if (opened >= 0 && opened != fd) {
      dup2(opened, fd);
      close(opened);
    }
  }
}

}  // namespace kelvoran

#endif
