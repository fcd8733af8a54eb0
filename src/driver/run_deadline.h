/// The run's deadline ("TIMEOUT="): when the run is not over that many seconds after it
/// started, the deadline prints the Error 1032 document on its own thread and ends the
/// process, whatever the run (or the RFC library it is inside) is doing.
///
/// The deadline's thread touches nothing of the run but the console and its view below, which
/// the run keeps up to date under the console's print lock. Without "TIMEOUT=" there is no
/// thread and every operation here only prints or does nothing.
#ifndef KELVORAN_DRIVER_RUN_DEADLINE_H
#define KELVORAN_DRIVER_RUN_DEADLINE_H

#include <string>
#include <string_view>

#include "driver/fail_run.h"
#include "output/host_flavour.h"
#include "step_report.h"

namespace kelvoran {

struct RunContext;

/// Longest deadline that "TIMEOUT=" accepts, in seconds (PRTG's longest sensor timeout).
inline constexpr unsigned kLongestTimeout = 900;

/// Reads "TIMEOUT=" from the option text: a whole number of seconds from 1 to 900, kept in
/// `timeoutSeconds`. Without the keyword the value read before (if any) stays. Anything else
/// is Error 1033 with the value as typed.
[[nodiscard]] FatalError ReadTimeout(RunContext& ctx);

/// Arms the deadline for `timeoutSeconds`, counted from the start of the run; does nothing
/// without a timeout or when that one is armed already. A deadline armed before with another
/// value is replaced. When no watchdog can be started the run goes on without one.
void ArmDeadline(RunContext& ctx);

/// Stops the deadline (at the end of the run). Must not be called holding the print lock.
void DisarmDeadline(RunContext& ctx);

/// Prints a global run's envelope opening and notes that it is open.
void PrintEnvelopeOpening(RunContext& ctx, std::string_view text);

/// Prints the run's last document and notes that the run has ended with `status`.
void PrintEnding(RunContext& ctx, std::string_view document, int status);

/// Notes that the run's last document is out and the run ends with `status`, where another
/// process printed it (a system probe's fatal ending, which its parent prints).
void MarkLastDocumentOut(RunContext& ctx, int status);

/// "Error 1032: Timeout after <n> s in <operation> for <destination> !"
std::string TimeoutMessage(const DeadlineView& view);

/// The document the deadline prints: the error document of the timeout message, or its rest
/// when the envelope is open.
std::string TimeoutDocument(const DeadlineView& view);

}  // namespace kelvoran

#endif
