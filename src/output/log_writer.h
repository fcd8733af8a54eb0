/// Log lines of the RFC steps, written only when the options hold ",SYSLOG".
#ifndef KELVORAN_OUTPUT_LOG_WRITER_H
#define KELVORAN_OUTPUT_LOG_WRITER_H

#include <cstdint>
#include <string_view>

namespace kelvoran {

struct RunContext;

/// The log file, in the working directory, appended to by every run with ",SYSLOG".
inline constexpr const char* kLogFileName = "Kelvoran.Log";

/// Appends "<number> <text> <detail>\n" in one write, when ",SYSLOG" is among the options. The
/// log file is opened on the first line; a file that cannot be opened only means no log.
void WriteLogLine(RunContext& ctx, std::int32_t number, std::string_view text,
                  std::string_view detail);

}  // namespace kelvoran

#endif
