/// Local time of day, as the probe shows it in console lines.
///
/// Abstract so that tests can fix the time.
#ifndef KELVORAN_PLATFORM_CLOCK_H
#define KELVORAN_PLATFORM_CLOCK_H

#include <cstdint>
#include <ctime>
#include <string>
#include <utility>

namespace kelvoran {

class Clock {
 public:
  virtual ~Clock() = default;
  /// The current time. Cheap: no time zone is consulted until a time is shown.
  virtual std::time_t Now() = 0;
  /// `time` as local time "hh:mm:ss" (24-hour clock, two digits each).
  virtual std::string LocalTimeOfDay(std::time_t time) = 0;

  /// Milliseconds on a clock that only runs forward, for how long a step took.
  virtual std::uint64_t Milliseconds() = 0;

  /// The current local time as "hh:mm:ss".
  std::string TimeOfDay() { return LocalTimeOfDay(Now()); }
};

/// Local time from the C library, taken from the asctime layout (characters 11 to 18).
class SystemClock : public Clock {
 public:
  std::time_t Now() override { return std::time(nullptr); }
  std::string LocalTimeOfDay(std::time_t time) override;
  std::uint64_t Milliseconds() override;
};

/// A clock that always shows the same time, for tests; no time passes on it.
class FixedClock : public Clock {
 public:
  explicit FixedClock(std::string time) : time_(std::move(time)) {}
  std::time_t Now() override { return 0; }
  std::string LocalTimeOfDay(std::time_t) override { return time_; }
  std::uint64_t Milliseconds() override { return 0; }

 private:
  std::string time_;
};

}  // namespace kelvoran

#endif
