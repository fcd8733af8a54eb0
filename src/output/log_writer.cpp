#include "output/log_writer.h"

#include <cstdio>
#include <string>

#include "run_context.h"

namespace kelvoran {

void WriteLogLine(RunContext& ctx, std::int32_t number, std::string_view text,
                  std::string_view detail) {
  if (ctx.parameterString.find(",SYSLOG") == std::string::npos) return;
  if (!ctx.logStream) ctx.logStream = ctx.files.Open(kLogFileName, "a");
  if (!ctx.logStream) return;
  std::fprintf(ctx.logStream.get(), "%d %.*s %.*s\n", static_cast<int>(number),
               static_cast<int>(text.size()), text.data(), static_cast<int>(detail.size()),
               detail.data());
  std::fflush(ctx.logStream.get());
}

}  // namespace kelvoran
