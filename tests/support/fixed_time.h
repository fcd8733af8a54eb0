// The local time the simulated libraries see in every test that fixes it.
#ifndef KELVORAN_TESTS_SUPPORT_FIXED_TIME_H
#define KELVORAN_TESTS_SUPPORT_FIXED_TIME_H

#include <ctime>

namespace kelvoran {

/// 2024-10-07 10:30:01.
inline std::tm FixedTestTime() {
  std::tm time{};
  time.tm_year = 2024 - 1900;
  time.tm_mon = 9;
  time.tm_mday = 7;
  time.tm_hour = 10;
  time.tm_min = 30;
  time.tm_sec = 1;
  return time;
}

}  // namespace kelvoran

#endif
