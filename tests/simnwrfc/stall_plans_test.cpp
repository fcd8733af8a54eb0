// The landscape's delays and hangs, mapped onto the operations of the NW RFC library: what each
// operation waits for before it answers, and the operations that never answer.
#include "simnwrfc/stall_plans.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <memory>
#include <string>
#include <thread>

#include "simnwrfc/nwrfc_fixture.h"
#include "simsap/landscape.h"

namespace simnwrfc {
namespace {

std::string Show(const simsap::StallPlan& plan) {
  return plan.hang ? "hang" : std::to_string(plan.delay);
}

// "open O call C receive R close X" for both function modules (RFC_SYSTEM_INFO / DB02...).
std::string Plans(const std::string& keys) {
  const simsap::LandscapeResult result = simsap::ParseLandscape(
      "[PRD]\nASHOST = sapprd01\nSYSNR = 00\n" + keys, "Landscape.ini");
  EXPECT_EQ(result.error, "");
  if (result.landscape.systems.empty()) return "";
  const simsap::SystemEntry& system = result.landscape.systems.front();
  const InvokePlans info = InvokePlan(system, "RFC_SYSTEM_INFO");
  const InvokePlans db4 = InvokePlan(system, "DB02_DB4_GET_INFO");
  return "open " + Show(OpenPlan(system)) + " call " + Show(info.call) + "/" + Show(db4.call) +
         " receive " + Show(info.receive) + "/" + Show(db4.receive) + " close " +
         Show(ClosePlan(system));
}

TEST(NwStallPlansTest, DelaysAndHangsOfTheLandscape) {
  struct Case {
    const char* keys;
    const char* plans;
  };
  const Case cases[] = {
      {"", "open 0 call 0/0 receive 0/0 close 0"},
      {"DELAY_OPEN = 20\n", "open 20 call 0/0 receive 0/0 close 0"},
      {"DELAY_CALL = 30\nDELAY_RECEIVE = 40\n", "open 0 call 30/30 receive 40/40 close 0"},
      {"HANG = RfcOpen\n", "open hang call 0/0 receive 0/0 close 0"},
      {"HANG = RfcOpenEx\nDELAY_OPEN = 5\n", "open hang call 0/0 receive 0/0 close 0"},
      {"HANG = RfcCall\n", "open 0 call hang/hang receive 0/0 close 0"},
      {"HANG = RfcReceive DB02_DB4_GET_INFO\nDELAY_RECEIVE = 7\n",
       "open 0 call 0/0 receive 7/hang close 0"},
      {"HANG = RfcCall RFC_SYSTEM_INFO\n", "open 0 call hang/0 receive 0/0 close 0"},
      {"HANG = RfcClose\n", "open 0 call 0/0 receive 0/0 close hang"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keys);
    EXPECT_EQ(Plans(c.keys), c.plans);
  }
}

class NwHangTest : public kelvoran::SimNwRfcTest {};

// A system that hangs in the open never answers: the caller's thread is still waiting when the
// test gives up on it (it is left behind, asleep, until the test program ends).
TEST_F(NwHangTest, OpenOfAHangingSystemDoesNotReturn) {
  UseLandscape("[HNG]\nASHOST = saphng01\nSYSNR = 00\nLOGON = 100 MONI x\nHANG = RfcOpen\n");
  auto answered = std::make_shared<std::promise<void>>();
  std::future<void> done = answered->get_future();
  std::thread([answered] {
    RFC_ERROR_INFO info;
    OpenServer("saphng01", "00", "100", "MONI", "x", info);
    answered->set_value();
  }).detach();
  EXPECT_EQ(done.wait_for(std::chrono::milliseconds(300)), std::future_status::timeout);
}

}  // namespace
}  // namespace simnwrfc
