// An unseen line on POSIX systems: the terminal's echo switched off through termios.
#ifndef _WIN32

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <termios.h>
#include <unistd.h>

#include "platform/unseen_input.h"

namespace kelvoran {

namespace {

// The terminal's settings before the echo went off. A signal handler has no other way to them
// than a static; they are set before any handler is installed.
struct termios g_before;

// Signals that end the process by default while it waits for the line.
constexpr int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

extern "C" void RestoreEchoAndEnd(int signal) {
  // Both async-signal-safe; the default action then ends the process as it would have.
  tcsetattr(STDIN_FILENO, TCSAFLUSH, &g_before);
  struct sigaction byDefault {};
  byDefault.sa_handler = SIG_DFL;
  sigemptyset(&byDefault.sa_mask);
  sigaction(signal, &byDefault, nullptr);
  raise(signal);
}

}  // namespace

bool StandardInputIsConsole() { return isatty(STDIN_FILENO) != 0; }

UnseenLine ReadUnseenLine(const char* prompt) {
  UnseenLine result;
  if (tcgetattr(STDIN_FILENO, &g_before) != 0) {
    result.unseen = false;
    return result;
  }
  // A signal the tool was started to ignore (a hang-up under nohup) stays ignored.
  struct sigaction restoring {}, previous[sizeof kEndingSignals / sizeof kEndingSignals[0]];
  restoring.sa_handler = RestoreEchoAndEnd;
  sigemptyset(&restoring.sa_mask);
  for (std::size_t i = 0; i < sizeof kEndingSignals / sizeof kEndingSignals[0]; ++i) {
    sigaction(kEndingSignals[i], nullptr, &previous[i]);
    if (previous[i].sa_handler != SIG_IGN) sigaction(kEndingSignals[i], &restoring, nullptr);
  }

  struct termios hidden = g_before;
  hidden.c_lflag &= static_cast<tcflag_t>(~(ECHO | ECHOE | ECHOK | ECHONL));
  if (tcsetattr(STDIN_FILENO, TCSAFLUSH, &hidden) != 0) {
    result.unseen = false;
  } else {
    std::fputs(prompt, stderr);
    std::fflush(stderr);
    // Read byte by byte, so that nothing after the line is taken from the terminal.
    std::string line;
    bool typed = false;
    char c = 0;
    for (;;) {
      const ssize_t got = read(STDIN_FILENO, &c, 1);
      if (got < 0 && errno == EINTR) continue;
      if (got <= 0) break;
      typed = true;
      if (c == '\n') break;
      line += c;
    }
    if (typed) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      result.line = line;
    }
    // What was typed ahead after the line stays for the next read.
    tcsetattr(STDIN_FILENO, TCSANOW, &g_before);
    std::fputs("\n", stderr);
    std::fflush(stderr);
  }
  for (std::size_t i = 0; i < sizeof kEndingSignals / sizeof kEndingSignals[0]; ++i)
    sigaction(kEndingSignals[i], &previous[i], nullptr);
  return result;
}

}  // namespace kelvoran

#endif
