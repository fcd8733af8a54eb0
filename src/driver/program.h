/// The probe's run, from the command line to the exit status.
#ifndef KELVORAN_DRIVER_PROGRAM_H
#define KELVORAN_DRIVER_PROGRAM_H

namespace kelvoran {

struct RunContext;

/// Runs the probe with the given arguments and returns the exit status. Everything the run
/// prints goes to `ctx.console`.
int RunProgram(RunContext& ctx, int argc, const char* const* argv);

}  // namespace kelvoran

#endif
