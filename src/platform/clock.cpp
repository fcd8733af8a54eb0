#include "platform/clock.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace kelvoran {

std::string SystemClock::LocalTimeOfDay(std::time_t time) {
  const std::tm* local = std::localtime(&time);
  if (local == nullptr) return "00:00:00";
  // The asctime layout "Www Mmm dd hh:mm:ss yyyy" puts the time at characters 11 to 18.
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", local->tm_hour % 100, local->tm_min % 100,
                local->tm_sec % 100);
  return text;
}

std::uint64_t SystemClock::Milliseconds() {
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<std::uint64_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

}  // namespace kelvoran
