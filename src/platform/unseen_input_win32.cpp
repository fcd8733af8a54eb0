// An unseen line on Windows: the echo of the console's input switched off through its mode.
#ifdef _WIN32

#include <windows.h>

#include <cstdio>

#include "platform/unseen_input.h"

namespace kelvoran {

namespace {

// The console's input and its mode before the echo went off. The mode belongs to the console,
// not to this process: it must be put back on every way out, and a console control handler has
// no other way to them than a static. Set before the handler is installed.
HANDLE g_input = nullptr;
DWORD g_modeBefore = 0;

// Runs on a thread of its own when Ctrl+C, Ctrl+Break or the closing of the console ends the
// process: the echo comes back first, then the default handling goes on (FALSE).
BOOL WINAPI RestoreEchoAndEnd(DWORD) {
  SetConsoleMode(g_input, g_modeBefore);
  return FALSE;
}

}  // namespace

bool StandardInputIsConsole() {
  const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  DWORD mode = 0;
  return input != nullptr && input != INVALID_HANDLE_VALUE && GetConsoleMode(input, &mode) != 0;
}

UnseenLine ReadUnseenLine(const char* prompt) {
  UnseenLine result;
  g_input = GetStdHandle(STD_INPUT_HANDLE);
  if (g_input == nullptr || g_input == INVALID_HANDLE_VALUE ||
      GetConsoleMode(g_input, &g_modeBefore) == 0) {
    result.unseen = false;
    return result;
  }
  SetConsoleCtrlHandler(RestoreEchoAndEnd, TRUE);
  // Line input stays on (the line is edited as usual), only its echo goes.
  const DWORD hidden = (g_modeBefore | ENABLE_LINE_INPUT | ENABLE_PROCESSED_INPUT) &
                       ~static_cast<DWORD>(ENABLE_ECHO_INPUT);
  if (SetConsoleMode(g_input, hidden) == 0) {
    result.unseen = false;
  } else {
    std::fputs(prompt, stderr);
    std::fflush(stderr);
    std::string line;
    bool typed = false;
    for (;;) {
      char c = 0;
      DWORD got = 0;
      if (ReadConsoleA(g_input, &c, 1, &got, nullptr) == 0 || got == 0) break;
      typed = true;
      if (c == '\n') break;
      line += c;
    }
    if (typed) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      result.line = line;
    }
    SetConsoleMode(g_input, g_modeBefore);
    std::fputs("\n", stderr);
    std::fflush(stderr);
  }
  SetConsoleCtrlHandler(RestoreEchoAndEnd, FALSE);
  return result;
}

}  // namespace kelvoran

#endif
