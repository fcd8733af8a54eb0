/// A watchdog on a thread of its own, for a run that must end by a given time whatever the
/// code it is in is doing. It is the only thread besides the run's.
#ifndef KELVORAN_PLATFORM_DEADLINE_H
#define KELVORAN_PLATFORM_DEADLINE_H

#include <chrono>
#include <functional>
#include <memory>

namespace kelvoran {

class Deadline {
 public:
  Deadline();
  /// Disarms.
  ~Deadline();
  Deadline(const Deadline&) = delete;
  Deadline& operator=(const Deadline&) = delete;

  /// Starts the watchdog: `expire` runs on the watchdog's thread once `delay` has passed
  /// (at once when it is not positive), unless Disarm comes first. A watchdog already running
  /// is disarmed first. False when no thread could be started; nothing is armed then.
  bool Arm(std::chrono::milliseconds delay, std::function<void()> expire);

  /// Stops the watchdog and waits for its thread. If `expire` has already begun, this waits
  /// until it returns, so it must not be called while holding anything `expire` takes.
  void Disarm();

  bool Armed() const { return state_ != nullptr; }

  /// The platform's own: what the watchdog's thread works with.
  struct State;

 private:
  std::unique_ptr<State> state_;
};

}  // namespace kelvoran

#endif
