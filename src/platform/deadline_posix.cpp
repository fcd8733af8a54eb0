// The watchdog on POSIX systems: a thread that waits on a condition variable until the time
// is up or it is disarmed. Waiting costs no processor time.
#ifndef _WIN32

#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

#include "platform/deadline.h"

namespace kelvoran {

struct Deadline::State {
  std::mutex mutex;
  std::condition_variable wake;
  bool disarmed = false;
  std::thread thread;
};

Deadline::Deadline() = default;

Deadline::~Deadline() { Disarm(); }

bool Deadline::Arm(std::chrono::milliseconds delay, std::function<void()> expire) {
  Disarm();
  auto state = std::make_unique<State>();
  State* s = state.get();
  const auto due = std::chrono::steady_clock::now() + delay;
  try {
    s->thread = std::thread([s, due, expire = std::move(expire)] {
      {
        std::unique_lock<std::mutex> lock(s->mutex);
        if (s->wake.wait_until(lock, due, [s] { return s->disarmed; })) return;
      }
      expire();
    });
  } catch (const std::system_error&) {
    return false;
  }
  state_ = std::move(state);
  return true;
}

void Deadline::Disarm() {
  if (!state_) return;
  {
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->disarmed = true;
  }
  state_->wake.notify_one();
  state_->thread.join();
  state_.reset();
}

}  // namespace kelvoran

#endif
