#include "platform/console.h"

#include <cstdio>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace kelvoran {

StandardOutput::StandardOutput() {
#ifdef _WIN32
  _setmode(_fileno(stdout), _O_BINARY);
#endif
}

void StandardOutput::Write(std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), stdout);
}

void StandardOutput::Flush() { std::fflush(stdout); }

void Console::WriteError(std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), stderr);
}

}  // namespace kelvoran
