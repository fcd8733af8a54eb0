#include "platform/console.h"

#include <cstdio>

namespace kelvoran {

void StandardOutput::Write(std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), stdout);
}

void StandardOutput::Flush() { std::fflush(stdout); }

}  // namespace kelvoran
