/// The single-system run: one SAP system from the RFC environment to the printed document.
#ifndef KELVORAN_DRIVER_SINGLE_RUN_H
#define KELVORAN_DRIVER_SINGLE_RUN_H

namespace kelvoran {

struct RunContext;

/// Measures the system of `profile` and prints the result or error document; returns the exit
/// status (0 measured, 2 numbered error). A library failure report ends the process with 1.
int RunSingleSystem(RunContext& ctx);

}  // namespace kelvoran

#endif
