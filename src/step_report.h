/// What the run is doing at the moment, for the run's deadline ("TIMEOUT="): the operation it
/// is about to enter and the destination it measures. Every step reports here, the run driver's
/// and the RFC operations' alike; the deadline (driver/run_deadline.h) prints from it.
#ifndef KELVORAN_STEP_REPORT_H
#define KELVORAN_STEP_REPORT_H

#include <string>
#include <string_view>

#include "output/host_flavour.h"

namespace kelvoran {

struct RunContext;

/// What the deadline prints when it strikes.
struct DeadlineView {
  /// The seconds of the armed deadline; 0 while none is armed.
  unsigned seconds = 0;
  HostFlavour flavour = HostFlavour::ExeXml;
  /// A global run's XML envelope opening is on standard output.
  bool envelopeOpen = false;
  /// The RFC library operation the run is inside, or its step ("LocateProfile", ...).
  std::string operation;
  /// The destination being measured; the name of the profile or listing being read before a
  /// destination is known.
  std::string destination;
  /// The exit status of a run whose last document is printed; -1 until then. The deadline
  /// then ends the process with that status and prints nothing.
  int endedWith = -1;
};

/// Notes the operation the run is about to enter, and the destination it measures. Without an
/// armed deadline this does nothing.
void EnterStep(RunContext& ctx, std::string_view operation);
void EnterStep(RunContext& ctx, std::string_view operation, std::string_view destination);

}  // namespace kelvoran

#endif
