// Runs the built probe as a process: in a given working directory, with a clean environment
// and the given standard input, capturing its standard output, standard error and exit status.
#ifndef KELVORAN_TESTS_E2E_PROBE_RUNNER_H
#define KELVORAN_TESTS_E2E_PROBE_RUNNER_H

#include <filesystem>
#include <string>
#include <vector>

namespace kelvoran {

struct ProcessResult {
  std::string out;
  std::string err;
  int status = -1;
};

/// Runs `program` with `args` in `directory`; `input` goes to its standard input.
ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::filesystem::path& directory, const std::string& input = "");

/// The probe built with the tests.
std::string ProbePath();
/// The profile tool built with the tests.
std::string ProfileToolPath();

}  // namespace kelvoran

#endif
