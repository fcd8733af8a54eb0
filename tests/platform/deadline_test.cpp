#include "platform/deadline.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace kelvoran {
namespace {

using namespace std::chrono_literals;

// Waits up to `limit` for `flag`; true when it was set.
bool WaitFor(const std::atomic<bool>& flag, std::chrono::milliseconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!flag && std::chrono::steady_clock::now() < end) std::this_thread::sleep_for(1ms);
  return flag;
}

TEST(DeadlineTest, ExpiresOnItsOwnThreadWhenTheTimeIsUp) {
  std::atomic<bool> expired{false};
  std::thread::id expiredOn;
  Deadline deadline;
  const auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(deadline.Arm(20ms, [&] {
    expiredOn = std::this_thread::get_id();
    expired = true;
  }));
  ASSERT_TRUE(WaitFor(expired, 5000ms));
  EXPECT_GE(std::chrono::steady_clock::now() - start, 20ms);
  deadline.Disarm();
  EXPECT_NE(expiredOn, std::this_thread::get_id());
  EXPECT_FALSE(deadline.Armed());
}

TEST(DeadlineTest, DisarmedOrReplacedBeforeTheTimeNeverExpires) {
  std::atomic<int> first{0}, second{0};
  {
    Deadline deadline;
    ASSERT_TRUE(deadline.Arm(30ms, [&] { ++first; }));
    deadline.Disarm();
    // Arming again replaces the earlier watchdog; leaving the scope disarms this one.
    ASSERT_TRUE(deadline.Arm(30ms, [&] { ++first; }));
    ASSERT_TRUE(deadline.Arm(10s, [&] { ++second; }));
  }
  std::this_thread::sleep_for(80ms);
  EXPECT_EQ(first, 0);
  EXPECT_EQ(second, 0);
}

}  // namespace
}  // namespace kelvoran
