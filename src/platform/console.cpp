#include "platform/console.h"

#include <cstdio>

#ifdef _WIN32
#include <windows.h>
#else
#include <mutex>
#endif

namespace kelvoran {

void StandardOutput::Write(std::string_view text) {
  PrintGuard guard(Lock());
  std::fwrite(text.data(), 1, text.size(), stdout);
}

void StandardOutput::Flush() {
  PrintGuard guard(Lock());
  std::fflush(stdout);
}

// The print lock: a critical section on Windows (the C++ runtime of the MinGW build has no
// std::mutex), a recursive mutex elsewhere. Both may be taken again by their holder.
#ifdef _WIN32
struct PrintLock::State {
  CRITICAL_SECTION section;
};

PrintLock::PrintLock() : state_(std::make_unique<State>()) {
  InitializeCriticalSection(&state_->section);
}
PrintLock::~PrintLock() { DeleteCriticalSection(&state_->section); }
void PrintLock::Lock() { EnterCriticalSection(&state_->section); }
void PrintLock::Unlock() { LeaveCriticalSection(&state_->section); }
#else
struct PrintLock::State {
  std::recursive_mutex mutex;
};

PrintLock::PrintLock() : state_(std::make_unique<State>()) {}
PrintLock::~PrintLock() = default;
void PrintLock::Lock() { state_->mutex.lock(); }
void PrintLock::Unlock() { state_->mutex.unlock(); }
#endif

void Console::WriteError(std::string_view text) {
  PrintGuard guard(Lock());
  std::fwrite(text.data(), 1, text.size(), stderr);
}

}  // namespace kelvoran
