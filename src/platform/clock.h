/// Local time of day, as the probe shows it in console lines.
///
/// Abstract so that tests can fix the time.
#ifndef KELVORAN_PLATFORM_CLOCK_H
#define KELVORAN_PLATFORM_CLOCK_H

#include <string>
#include <utility>

namespace kelvoran {

class Clock {
 public:
  virtual ~Clock() = default;
  /// The current local time as "hh:mm:ss" (24-hour clock, two digits each).
  virtual std::string TimeOfDay() = 0;
};

/// Local time from the C library, taken from the asctime layout (characters 11 to 18).
class SystemClock : public Clock {
 public:
  std::string TimeOfDay() override;
};

/// A clock that always shows the same time, for tests.
class FixedClock : public Clock {
 public:
  explicit FixedClock(std::string time) : time_(std::move(time)) {}
  std::string TimeOfDay() override { return time_; }

 private:
  std::string time_;
};

}  // namespace kelvoran

#endif
