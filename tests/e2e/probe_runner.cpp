#include "e2e/probe_runner.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kelvoran {

std::string ProbePath() { return KELVORAN_TEST_PROBE; }

std::string ProfileToolPath() { return KELVORAN_TEST_PROFILE_TOOL; }

ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::filesystem::path& directory, const std::string& input) {
  int out[2], in[2];
  if (pipe(out) != 0 || pipe(in) != 0) throw std::runtime_error("pipe failed");
  const pid_t child = fork();
  if (child < 0) throw std::runtime_error("fork failed");
  if (child == 0) {
    dup2(in[0], 0);
    dup2(out[1], 1);
    const int devnull = open("/dev/null", O_WRONLY);
    if (devnull >= 0) dup2(devnull, 2);
    close(in[0]);
    close(in[1]);
    close(out[0]);
    close(out[1]);
    if (chdir(directory.c_str()) != 0) _exit(127);
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    // A clean environment: the probe reads none, and only the simulated library's variable
    // could change what it sees.
    char path[] = "PATH=/usr/bin:/bin";
    char options[] = "ASAN_OPTIONS=detect_leaks=0";
    char* env[] = {path, options, nullptr};
    execve(program.c_str(), argv.data(), env);
    _exit(127);
  }
  close(in[0]);
  close(out[1]);
  if (!input.empty()) {
    ssize_t ignored = write(in[1], input.data(), input.size());
    (void)ignored;
  }
  close(in[1]);
  ProcessResult result;
  char buffer[4096];
  ssize_t got;
  while ((got = read(out[0], buffer, sizeof buffer)) > 0) result.out.append(buffer, got);
  close(out[0]);
  int status = 0;
  waitpid(child, &status, 0);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

}  // namespace kelvoran
