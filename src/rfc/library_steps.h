/// What a run asks of the SAP library besides the connection and the two function modules,
/// whichever library the probe is built with.
#ifndef KELVORAN_RFC_LIBRARY_STEPS_H
#define KELVORAN_RFC_LIBRARY_STEPS_H

#include <optional>
#include <string>
#include <string_view>

namespace kelvoran {

struct RunContext;

/// Makes SAP's library ready for the run's calls, before the RFC environment of the first
/// system measured (`destination`, for the deadline's message): where the probe loads it while
/// it runs (on Windows, and the NW RFC SDK on Linux), it is loaded on the first call of the
/// process (never for --help, --version or the profile tool) and every operation the probe
/// calls is found in it; where it is linked in, its operations are there already. Returns the
/// Error 1036 message when it cannot be loaded or lacks an operation; every later call gives
/// the same result. Defined with the library's table of operations (linked_operations.cpp or
/// loaded_operations.cpp in the library's folder).
std::optional<std::string> LoadRfcLibrary(RunContext& ctx, std::string_view destination);

/// Prepares the library for the run. The classic library gets its environment: the failure
/// report as error handler, so that a failure inside the library ends the process with its
/// report. Returns the name of the library operation called ("RfcEnvironment"), or null when
/// the library needs none.
const char* InstallRfcEnvironment(RunContext& ctx);

/// Appends the explanation of the RFC step that just failed to the output buffer, after the
/// step's numbered message: the telling line of the classic library's trace file, or the
/// message of the error record that the NW RFC library handed back.
void ExplainFailedStep(RunContext& ctx);

/// The trace file that the library writes into the working directory when a step fails and
/// that a successful run deletes (see rfc_phase.h); null when the library writes none there.
const char* LibraryTraceFile();

}  // namespace kelvoran

#endif
