/// The single-system run: one SAP system from the RFC environment to the printed document.
#ifndef KELVORAN_DRIVER_SINGLE_RUN_H
#define KELVORAN_DRIVER_SINGLE_RUN_H

#include <string>
#include <string_view>

namespace kelvoran {

struct RunContext;

/// Measures the system of `profile` and prints the result or error document; returns the exit
/// status (0 measured, 2 numbered error). A library failure report ends the process with 1.
int RunSingleSystem(RunContext& ctx);

/// The option text as the executing line shows it: cut before the first "#", then before the
/// first "@"; "(Parameters " and "(No " alone count as nothing, and nothing shows as
/// "(No Parameters)".
std::string ParameterDisplay(std::string_view parameterText);

}  // namespace kelvoran

#endif
