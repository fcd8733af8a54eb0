#include "output/log_writer.h"

#include <memory>
#include <string>

#include "run_context.h"

namespace kelvoran {

void WriteLogLine(RunContext& ctx, std::int32_t number, std::string_view text,
                  std::string_view detail) {
  if (ctx.parameterString.find(",SYSLOG") == std::string::npos) return;
  if (!ctx.logFile || !ctx.logFile->IsOpen()) {
    ctx.logFile = std::make_unique<AppendFile>(kLogFileName);
  }
  // The whole line in one write: probes of the same folder append to the same log at once.
  std::string line = std::to_string(number);
  line += ' ';
  line += text;
  line += ' ';
  line += detail;
  // Ended as the C runtime ends a line of a text-mode file: CR LF on Windows, as the log has
  // always been written there.
#ifdef _WIN32
  line += "\r\n";
#else
  line += '\n';
#endif
  ctx.logFile->Append(line);
}

}  // namespace kelvoran
