// Runs the built probe as a process: in a given working directory, with a clean environment
// and the given standard input, capturing its standard output, standard error and exit status.
#ifndef KELVORAN_TESTS_E2E_PROBE_RUNNER_H
#define KELVORAN_TESTS_E2E_PROBE_RUNNER_H

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kelvoran {

struct ProcessResult {
  std::string out;
  std::string err;
  int status = -1;
};

/// Runs `program` with `args` in `directory`; `input` goes to its standard input. Its
/// environment is the clean one, with the "NAME=value" entries of `environment` added (one
/// with a name the clean environment has replaces that variable).
ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::filesystem::path& directory, const std::string& input = "",
                         const std::vector<std::string>& environment = {});

/// A process started without waiting for it, for tests that end it or its children from
/// outside. Its standard input is empty; what it prints is captured.
class StartedProcess {
 public:
  StartedProcess(const std::string& program, const std::vector<std::string>& args,
                 const std::filesystem::path& directory);
  /// Kills it if it still runs.
  ~StartedProcess();
  StartedProcess(const StartedProcess&) = delete;
  StartedProcess& operator=(const StartedProcess&) = delete;
  /// Ends it at once, as a monitor ends an overrunning sensor (a kill it cannot catch), and
  /// waits for its end.
  void Kill();
  /// Ends every process it has started that still runs, the same way; returns how many. (The
  /// console host that Windows gives a console program is not counted.)
  int KillChildren();
  /// Waits for its end: what it printed and its exit status.
  ProcessResult Wait();

  /// The processes it has started (a console host aside), and how many of them hold a handle
  /// of its standard output, which it inherited from the test.
  struct Holders {
    int children = 0;
    int holding = 0;
  };
  Holders ChildrenHoldingItsOutput();

  struct Streams;

 private:
  long long handle_ = 0;  // the process id, or its Windows handle
  unsigned long id_ = 0;
  bool running_ = false;
  std::unique_ptr<Streams> streams_;
};

/// `text` as it reaches a captured standard output: the C runtime writes each line feed of a
/// text-mode stream as CR LF on Windows and unchanged elsewhere. Expected console output of a
/// process, and the content of files it writes in text mode (log, trace), is written with plain
/// line feeds and passed through this.
std::string OnConsole(std::string_view text);

#ifndef _WIN32
/// In a process just forked: runs `program` with `argv` (ending with a null) in `directory`,
/// in the clean environment every process of the tests gets, or in `environment` (ending with
/// a null) when one is given. Never returns; status 127 when the program cannot be started.
[[noreturn]] void ExecInCleanEnvironment(const char* program, char* const* argv,
                                         const char* directory,
                                         char* const* environment = nullptr);
#endif

/// The probe built with the tests.
std::string ProbePath();
/// The profile tool built with the tests.
std::string ProfileToolPath();

/// The SAP library the probe was built with talks to: SAP's classic RFC library (true), or the
/// NW RFC SDK. Cases that show what only the classic library does (its trace file, its failure
/// report, structures and internal tables) skip themselves over the NW RFC SDK.
inline bool ProbeUsesClassicLibrary() {
  return std::string_view(KELVORAN_TEST_RFC_LIBRARY) == "classic";
}

/// `classic` with the classic library, `nw` with the NW RFC SDK: what differs between them.
inline std::string ForLibrary(const std::string& classic, const std::string& nw) {
  return ProbeUsesClassicLibrary() ? classic : nw;
}

}  // namespace kelvoran

#endif
