/// A line typed at the console without being shown: how a person gives the profile tool a
/// password, which must neither appear on the screen nor be kept in a file.
#ifndef KELVORAN_PLATFORM_UNSEEN_INPUT_H
#define KELVORAN_PLATFORM_UNSEEN_INPUT_H

#include <optional>
#include <string>

namespace kelvoran {

/// True when standard input is a console (a terminal) a person types at, not a file or a pipe.
bool StandardInputIsConsole();

/// What reading an unseen line gave.
struct UnseenLine {
  /// The line without its line end; nothing when the input ended first.
  std::optional<std::string> line;
  /// False when the console's echo could not be switched off: then nothing was read.
  bool unseen = true;
};

/// Switches the echo of standard input's console off, shows `prompt` on standard error (only
/// then, so that nothing typed at once is shown), reads one line and switches the echo back on,
/// also when the process is interrupted while it waits (Ctrl+C, and on POSIX systems a hang-up,
/// quit or termination signal), so that the console is never left without echo. The line end
/// typed is shown as a line feed on standard error.
UnseenLine ReadUnseenLine(const char* prompt);

}  // namespace kelvoran

#endif
