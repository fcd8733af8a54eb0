// The watchdog on Windows: a thread of the Win32 API that waits on an event until the time is
// up or it is disarmed (the C++ runtime of the MinGW build has no std::thread). Waiting costs
// no processor time.
#ifdef _WIN32

#include <windows.h>

#include "platform/deadline.h"

namespace kelvoran {

struct Deadline::State {
  HANDLE wake = nullptr;    // set by Disarm
  HANDLE thread = nullptr;
  DWORD delay = 0;          // milliseconds
  std::function<void()> expire;
};

namespace {

DWORD WINAPI Watch(LPVOID parameter) {
  auto* state = static_cast<Deadline::State*>(parameter);
  if (WaitForSingleObject(state->wake, state->delay) == WAIT_TIMEOUT) state->expire();
  return 0;
}

}  // namespace

Deadline::Deadline() = default;

Deadline::~Deadline() { Disarm(); }

bool Deadline::Arm(std::chrono::milliseconds delay, std::function<void()> expire) {
  Disarm();
  auto state = std::make_unique<State>();
  const long long milliseconds = delay.count();
  // At most a few hundred seconds are asked for; anything beyond a DWORD would be a mistake.
  state->delay = milliseconds <= 0 ? 0 : milliseconds >= INFINITE ? INFINITE - 1
                                                                   : static_cast<DWORD>(milliseconds);
  state->expire = std::move(expire);
  state->wake = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (state->wake == nullptr) return false;
  state->thread = CreateThread(nullptr, 0, Watch, state.get(), 0, nullptr);
  if (state->thread == nullptr) {
    CloseHandle(state->wake);
    return false;
  }
  state_ = std::move(state);
  return true;
}

void Deadline::Disarm() {
  if (!state_) return;
  SetEvent(state_->wake);
  WaitForSingleObject(state_->thread, INFINITE);
  CloseHandle(state_->thread);
  CloseHandle(state_->wake);
  state_.reset();
}

}  // namespace kelvoran

#endif
