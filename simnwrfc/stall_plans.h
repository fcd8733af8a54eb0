/// How the landscape's delays and hangs (DELAY_OPEN, DELAY_CALL, DELAY_RECEIVE, HANG) reach the
/// operations of this library, whose names differ from the ones the landscape uses.
#ifndef KELVORAN_SIMNWRFC_STALL_PLANS_H
#define KELVORAN_SIMNWRFC_STALL_PLANS_H

#include "simsap/landscape.h"
#include "simsap/stalls.h"

namespace simnwrfc {

/// RfcOpenConnection waits DELAY_OPEN; it hangs with HANG RfcOpen or HANG RfcOpenEx.
simsap::StallPlan OpenPlan(const simsap::SystemEntry& system);

/// RfcInvoke sends the call and then receives the answer: it waits DELAY_CALL, then
/// DELAY_RECEIVE, and hangs in the one or the other with HANG RfcCall or HANG RfcReceive (for
/// every module or for `module`).
struct InvokePlans {
  simsap::StallPlan call, receive;
};
InvokePlans InvokePlan(const simsap::SystemEntry& system, const char* module);

/// RfcCloseConnection hangs with HANG RfcClose.
simsap::StallPlan ClosePlan(const simsap::SystemEntry& system);

}  // namespace simnwrfc

#endif
