/// How the run driver ends a run on a numbered error.
#ifndef KELVORAN_DRIVER_FAIL_RUN_H
#define KELVORAN_DRIVER_FAIL_RUN_H

#include <optional>
#include <string>
#include <string_view>

#include "exit_status.h"

namespace kelvoran {

struct RunContext;

/// A numbered error message that ends the run, or nothing when the step succeeded. Steps return
/// it; the top of the run turns it into the error document and exit status 2.
using FatalError = std::optional<std::string>;


/// Replaces the output buffer with the document that ends the run with `message` (the error
/// document, or its rest when a global run's envelope is already open), prints it and returns
/// exit status 2 for the caller to end the process with.
int FailRun(RunContext& ctx, std::string_view message);

/// Prints the output buffer as it stands ("%s": no line feed added).
void PrintOutput(RunContext& ctx);

}  // namespace kelvoran

#endif
