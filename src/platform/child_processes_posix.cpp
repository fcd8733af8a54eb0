// Child processes on POSIX systems: posix_spawn with the two pipes as standard input and
// output, poll for their output, SIGKILL to end them. Every pipe end of the parent is
// close-on-exec, so a child inherits only its own two, and every other descriptor above
// standard error is closed in the child where the C library can do that (glibc 2.34 on).
#ifndef _WIN32

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#if defined(__linux__)
#include <sys/prctl.h>
#else
#include <thread>
#endif

#include "platform/child_processes.h"
#include "platform/own_executable.h"

extern char** environ;

namespace kelvoran {

struct ChildSlot {
  pid_t pid = 0;
  int output = -1;  // read end of the child's standard output
  int input = -1;   // write end of the child's standard input
  bool killed = false;
};

namespace {

void CloseFd(int& fd) {
  if (fd >= 0) close(fd);
  fd = -1;
}

bool WriteWhole(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

}  // namespace

struct ChildProcesses::State {
  std::vector<ChildSlot> slots;
};

ChildProcesses::ChildProcesses(std::size_t capacity) : state_(std::make_unique<State>()) {
  state_->slots.resize(capacity);
  // A child that dies while the parent writes its request must not end the parent with
  // SIGPIPE: the write fails with EPIPE instead. Children get the default action back.
  std::signal(SIGPIPE, SIG_IGN);
}

ChildProcesses::~ChildProcesses() {
  for (std::size_t slot = 0; slot < state_->slots.size(); ++slot) {
    if (state_->slots[slot].pid > 0) {
      Kill(slot);
      Finish(slot);
    }
  }
}

bool ChildProcesses::Start(std::size_t slot, std::string_view argument, std::string_view request) {
  ChildSlot& s = state_->slots[slot];
  const std::string program = OwnExecutable();
  if (program.empty()) return false;
  int toChild[2];
  int fromChild[2];
  if (pipe2(toChild, O_CLOEXEC) != 0) return false;
  if (pipe2(fromChild, O_CLOEXEC) != 0) {
    close(toChild[0]);
    close(toChild[1]);
    return false;
  }
  posix_spawn_file_actions_t actions;
  posix_spawnattr_t attributes;
  posix_spawn_file_actions_init(&actions);
  posix_spawnattr_init(&attributes);
  posix_spawn_file_actions_adddup2(&actions, toChild[0], STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, fromChild[1], STDOUT_FILENO);
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 34))
  // The probe may have inherited descriptors from its starter without close-on-exec (a
  // monitor's end of its output pipe): the child gets none of them, only its three streams.
  posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);
#endif
  sigset_t defaults;
  sigemptyset(&defaults);
  sigaddset(&defaults, SIGPIPE);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);

  const std::string argumentText(argument);
  char* argv[] = {const_cast<char*>(program.c_str()), const_cast<char*>(argumentText.c_str()),
                  nullptr};
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, program.c_str(), &actions, &attributes, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  close(toChild[0]);
  close(fromChild[1]);
  if (spawned != 0) {
    close(toChild[1]);
    close(fromChild[0]);
    return false;
  }
  s.pid = pid;
  s.input = toChild[1];
  s.output = fromChild[0];
  s.killed = false;
  // A child that has died already shows it by its closed output; nothing to do here.
  WriteWhole(s.input, request);
  return true;
}

std::size_t ChildProcesses::WaitForOutput() {
  std::vector<pollfd> waiting;
  std::vector<std::size_t> slotOf;
  for (std::size_t slot = 0; slot < state_->slots.size(); ++slot) {
    if (state_->slots[slot].output >= 0) {
      waiting.push_back(pollfd{state_->slots[slot].output, POLLIN, 0});
      slotOf.push_back(slot);
    }
  }
  for (;;) {
    const int ready = poll(waiting.data(), waiting.size(), -1);
    if (ready < 0 && errno == EINTR) continue;
    for (std::size_t i = 0; i < waiting.size(); ++i) {
      if (waiting[i].revents != 0) return slotOf[i];
    }
    // poll failing otherwise: the first child's output is read (and found closed if it is).
    if (ready < 0) return slotOf.front();
  }
}

bool ChildProcesses::Read(std::size_t slot, std::string& into) {
  ChildSlot& s = state_->slots[slot];
  if (s.output < 0) return false;
  char buffer[65536];
  for (;;) {
    const ssize_t got = read(s.output, buffer, sizeof buffer);
    if (got > 0) {
      into.append(buffer, static_cast<std::size_t>(got));
      return true;
    }
    if (got < 0 && errno == EINTR) continue;
    CloseFd(s.output);
    return false;
  }
}

void ChildProcesses::Kill(std::size_t slot) {
  ChildSlot& s = state_->slots[slot];
  if (s.pid <= 0 || s.killed) return;
  kill(s.pid, SIGKILL);
  s.killed = true;
  // Waits for its end without reaping it, so that its id stays its own until Finish.
  siginfo_t info;
  while (waitid(P_PID, static_cast<id_t>(s.pid), &info, WEXITED | WNOWAIT) != 0 && errno == EINTR) {
  }
}

int ChildProcesses::Finish(std::size_t slot) {
  ChildSlot& s = state_->slots[slot];
  CloseFd(s.output);
  int status = 0;
  pid_t reaped;
  do {
    reaped = waitpid(s.pid, &status, 0);
  } while (reaped < 0 && errno == EINTR);
  CloseFd(s.input);
  const bool exited = reaped == s.pid && WIFEXITED(status) && !s.killed;
  s = ChildSlot{};
  return exited ? WEXITSTATUS(status) : kChildKilled;
}

unsigned long ChildProcesses::Id(std::size_t slot) const {
  return static_cast<unsigned long>(state_->slots[slot].pid);
}

bool WatchParent(unsigned long parentId) {
#if defined(__linux__)
  // The kernel kills this process when its parent ends, even inside a library call.
  if (prctl(PR_SET_PDEATHSIG, SIGKILL) != 0) return false;
#else
  // The pipe from the parent closes when the parent ends: a thread that waits for that ends
  // the process, even while the run waits inside a library call.
  std::thread([] {
    char buffer[256];
    while (ReadFromParent(buffer, sizeof buffer) > 0) {
    }
    std::_Exit(2);
  }).detach();
#endif
  // A parent that ended before the watch was set: this process belongs to another one now.
  return static_cast<unsigned long>(getppid()) == parentId;
}

std::size_t ReadFromParent(char* buffer, std::size_t size) {
  for (;;) {
    const ssize_t got = read(STDIN_FILENO, buffer, size);
    if (got >= 0) return static_cast<std::size_t>(got);
    if (errno != EINTR) return 0;
  }
}

bool WriteToParent(std::string_view bytes) { return WriteWhole(STDOUT_FILENO, bytes); }

}  // namespace kelvoran

#endif
