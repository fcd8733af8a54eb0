// The process runner itself: every argument reaches the program whole, as typed, however it
// would have to be quoted on a Windows command line, and each run's streams stay its own when
// runs are started from several threads at once.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "e2e/probe_runner.h"
#include "support/temp_dir.h"

namespace kelvoran {
namespace {

// The profile tool names an unknown command on standard error exactly as it received it.
std::string UnknownCommand(const std::string& command) {
  return OnConsole("kelvoran-profile: unknown command \"" + command +
                   "\"; see kelvoran-profile --help\n");
}

TEST(ProbeRunnerTest, ArgumentsArriveAsTyped) {
  TempDir dir;
  for (const std::string arg : {"plain", "two words", "\"quoted\"", "in\"side", "back\\slash",
                                "trailing\\", "trailing\\\\", "blank and trailing\\",
                                "\\\"both\\\"", "tab\there", ""}) {
    SCOPED_TRACE(arg);
    const ProcessResult result = RunProcess(ProfileToolPath(), {arg}, dir.Path());
    EXPECT_EQ(result.err, UnknownCommand(arg));
    EXPECT_EQ(result.status, 2);
  }
}

TEST(ProbeRunnerTest, RunsFromSeveralThreadsKeepTheirOwnStreams) {
  TempDir dir;
  std::vector<ProcessResult> results(4);
  std::vector<std::thread> threads;
  for (std::size_t i = 0; i < results.size(); ++i) {
    threads.emplace_back([&, i] {
      results[i] = RunProcess(ProfileToolPath(), {"command" + std::to_string(i)}, dir.Path());
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (std::size_t i = 0; i < results.size(); ++i) {
    EXPECT_EQ(results[i].err, UnknownCommand("command" + std::to_string(i)));
    EXPECT_EQ(results[i].out, "");
    EXPECT_EQ(results[i].status, 2);
  }
}

}  // namespace
}  // namespace kelvoran
