#include "e2e/probe_runner.h"

#include <cstdio>
#include <stdexcept>

#include <sys/wait.h>
#include <unistd.h>

namespace kelvoran {

namespace {

std::string ReadStream(std::FILE* file) {
  std::string text;
  std::rewind(file);
  char buffer[4096];
  std::size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, got);
  return text;
}

}  // namespace

std::string OnConsole(std::string_view text) {
#ifdef _WIN32
  std::string translated;
  translated.reserve(text.size() + text.size() / 8);
  for (char c : text) {
    if (c == '\n') translated += '\r';
    translated += c;
  }
  return translated;
#else
  return std::string(text);
#endif
}

std::string ProbePath() { return KELVORAN_TEST_PROBE; }

std::string ProfileToolPath() { return KELVORAN_TEST_PROFILE_TOOL; }

ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::filesystem::path& directory, const std::string& input) {
  // Temporary files rather than pipes: nothing can block, however much either side writes.
  std::FILE* in = std::tmpfile();
  std::FILE* out = std::tmpfile();
  std::FILE* err = std::tmpfile();
  if (in == nullptr || out == nullptr || err == nullptr) throw std::runtime_error("tmpfile failed");
  std::fwrite(input.data(), 1, input.size(), in);
  std::fflush(in);
  std::rewind(in);
  // Built before the fork: the child of a process with several threads (tests that start
  // probes at once) may only call functions that allocate nothing.
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  const pid_t child = fork();
  if (child < 0) throw std::runtime_error("fork failed");
  if (child == 0) {
    dup2(fileno(in), 0);
    dup2(fileno(out), 1);
    dup2(fileno(err), 2);
    if (chdir(directory.c_str()) != 0) _exit(127);
    // A clean environment: the probe reads none, and only the simulated library's variable
    // could change what it sees.
    char path[] = "PATH=/usr/bin:/bin";
    char options[] = "ASAN_OPTIONS=detect_leaks=0";
    char* env[] = {path, options, nullptr};
    execve(program.c_str(), argv.data(), env);
    _exit(127);
  }
  int status = 0;
  waitpid(child, &status, 0);
  ProcessResult result;
  result.out = ReadStream(out);
  result.err = ReadStream(err);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::fclose(in);
  std::fclose(out);
  std::fclose(err);
  return result;
}

}  // namespace kelvoran
