#include "stall_plans.h"

namespace simnwrfc {

simsap::StallPlan OpenPlan(const simsap::SystemEntry& system) {
  return {system.openDelay,
          simsap::HangsIn(system, "RfcOpen") || simsap::HangsIn(system, "RfcOpenEx")};
}

InvokePlans InvokePlan(const simsap::SystemEntry& system, const char* module) {
  return {{system.callDelay, simsap::HangsIn(system, "RfcCall", module)},
          {system.receiveDelay, simsap::HangsIn(system, "RfcReceive", module)}};
}

simsap::StallPlan ClosePlan(const simsap::SystemEntry& system) {
  return {0, simsap::HangsIn(system, "RfcClose")};
}

}  // namespace simnwrfc
