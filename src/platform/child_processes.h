/// Child processes of the probe's own executable, for a global run that measures its systems
/// side by side, and the child's side of the pipes that join it to its parent.
///
/// A child's standard input and standard output are pipes of its parent's: the parent writes
/// the child's request to the one and reads its report from the other; standard error is the
/// parent's. The children of one `ChildProcesses` end when it is destroyed, and they end soon
/// after the parent when the parent itself ends in any way, a kill that cannot be caught
/// included: on Windows every child is in a job object that kills its processes when the
/// parent's handle to it closes; on Linux the kernel sends the child SIGKILL when its parent
/// dies (set up by `WatchParent`); on other POSIX systems a thread of the child ends it when its
/// standard input, the pipe from the parent, closes.
#ifndef KELVORAN_PLATFORM_CHILD_PROCESSES_H
#define KELVORAN_PLATFORM_CHILD_PROCESSES_H

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace kelvoran {

/// Exit status reported for a child that did not end by returning or exiting (a signal, a
/// kill by the parent).
inline constexpr int kChildKilled = -1;

class ChildProcesses {
 public:
  /// `capacity` children at most may exist at a time (1 to 64), in slots 0 to capacity - 1.
  explicit ChildProcesses(std::size_t capacity);
  /// Ends every child still there and waits for it.
  ~ChildProcesses();
  ChildProcesses(const ChildProcesses&) = delete;
  ChildProcesses& operator=(const ChildProcesses&) = delete;

  /// Starts the probe's own executable in free slot `slot` with `argument` as its one argument
  /// and `request` written to its standard input, which then stays open until Finish. False
  /// when no child could be started; the slot stays free.
  bool Start(std::size_t slot, std::string_view argument, std::string_view request);

  /// Waits until a started child has output to read, or has closed its output, and returns
  /// its slot. Must only be called while some started child's output is still open.
  std::size_t WaitForOutput();

  /// Appends what the child in `slot` has written to `into`, after WaitForOutput named it.
  /// False once its output is closed (then nothing is appended).
  bool Read(std::size_t slot, std::string& into);

  /// Ends the child in `slot` at once, if it is still running, and waits until it has ended.
  /// Its process stays known (its id is not given to another process) until Finish.
  void Kill(std::size_t slot);

  /// Waits until the child in `slot` has ended, frees the slot and returns the child's exit
  /// status, or kChildKilled.
  int Finish(std::size_t slot);

  /// The process id of the child in `slot`.
  unsigned long Id(std::size_t slot) const;

  /// The platform's own: the slots' processes and pipes.
  struct State;

 private:
  std::unique_ptr<State> state_;
};

/// Child's side. Makes sure the process ends when its parent does: `parentId` is the id the
/// parent wrote in its request. Returns false when the parent is already gone.
bool WatchParent(unsigned long parentId);

/// Child's side: reads from the pipe from the parent (standard input, unchanged bytes) into
/// `buffer`; returns the number of bytes read, 0 at its end or on a fault.
std::size_t ReadFromParent(char* buffer, std::size_t size);

/// Child's side: writes `bytes` whole to the pipe to the parent (standard output, unchanged
/// bytes); false when the parent is no longer reading.
bool WriteToParent(std::string_view bytes);

}  // namespace kelvoran

#endif
