/// Explains a failed RFC step by the telling line of the library's trace file.
#ifndef KELVORAN_RFC_CLASSIC_TRACE_SCAN_H
#define KELVORAN_RFC_CLASSIC_TRACE_SCAN_H

#include <cstdio>
#include <string>

namespace kelvoran {

struct RunContext;

/// The RFC library's trace file in the working directory.
inline constexpr const char* kTraceFileName = "Dev_Rfc.Trc";

/// The error text of the trace file: the last "ERROR " line (from its 13th character) or
/// "======> " line (from its 16th character) after the last "**** ERROR " line; the file is
/// read in pieces of at most 99 characters, each tested as a line of its own. Empty when
/// there is none.
std::string FindTraceError(std::FILE* trace);

/// Appends " - " and the trace file's error text to the output buffer, " - Please Check
/// Trace-File !" when it holds none, or " - Look for Trace-File" when it cannot be opened.
void ScanTraceFile(RunContext& ctx);

}  // namespace kelvoran

#endif
