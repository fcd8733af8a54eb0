#include "e2e/probe_runner.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <stdexcept>

#ifdef _WIN32
#include <windows.h>
#include <tlhelp32.h>

#include <mutex>
#else
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace kelvoran {

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

namespace {

// `variables` with `added` added; an added variable replaces one of the same name.
std::vector<std::string> WithEnvironment(std::vector<std::string> variables,
                                         const std::vector<std::string>& added) {
  for (const std::string& variable : added) {
    const std::string name = variable.substr(0, variable.find('=') + 1);
    bool replaced = false;
    for (std::string& existing : variables) {
      if (existing.compare(0, name.size(), name) == 0) {
        existing = variable;
        replaced = true;
      }
    }
    if (!replaced) variables.push_back(variable);
  }
  return variables;
}

}  // namespace

#ifdef _WIN32

namespace {

// The folder of the running test program: the executables it runs are built beside it.
std::filesystem::path TestProgramFolder() {
  std::wstring name(MAX_PATH, L'\0');
  for (;;) {
    const DWORD got = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
    if (got == 0) throw std::runtime_error("GetModuleFileName failed");
    if (got < name.size()) {
      name.resize(got);
      return std::filesystem::path(name).parent_path();
    }
    name.resize(name.size() * 2);
  }
}

std::string BesideTestProgram(const char* builtPath) {
  return (TestProgramFolder() / std::filesystem::path(builtPath).filename()).string();
}

// Text in the ANSI code page, as the child's C runtime turns its command line back into argv.
std::wstring Widen(const std::string& text) {
  if (text.empty()) return std::wstring();
  const int size = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                       nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
  return wide;
}

// One argument of a command line, quoted so that the C runtime's parser gives it back whole:
// blanks and quotes inside it, and backslashes in front of a quote or of the closing quote.
std::wstring QuoteArgument(const std::wstring& arg) {
  if (!arg.empty() && arg.find_first_of(L" \t\n\v\"") == std::wstring::npos) return arg;
  std::wstring quoted = L"\"";
  std::size_t backslashes = 0;
  for (wchar_t c : arg) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(backslashes * 2, L'\\');
  quoted += L'"';
  return quoted;
}

// A temporary file that the child writes or reads as a standard stream; deleted when closed.
class StreamFile {
 public:
  StreamFile() {
    wchar_t folder[MAX_PATH + 1];
    wchar_t name[MAX_PATH + 1];
    const DWORD length = GetTempPathW(MAX_PATH + 1, folder);
    if (length == 0 || length > MAX_PATH || GetTempFileNameW(folder, L"kvr", 0, name) == 0)
      throw std::runtime_error("no temporary file for a standard stream");
    handle_ = CreateFileW(name, GENERIC_READ | GENERIC_WRITE,
                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                          CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE,
                          nullptr);
    if (handle_ == INVALID_HANDLE_VALUE) {
      DeleteFileW(name);
      throw std::runtime_error("temporary file for a standard stream cannot be opened");
    }
  }
  ~StreamFile() { CloseHandle(handle_); }
  StreamFile(const StreamFile&) = delete;
  StreamFile& operator=(const StreamFile&) = delete;

  HANDLE Handle() const { return handle_; }

  void Write(const std::string& text) {
    DWORD written = 0;
    if (!text.empty() &&
        (!WriteFile(handle_, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) ||
         written != text.size()))
      throw std::runtime_error("standard input cannot be written");
    SetFilePointer(handle_, 0, nullptr, FILE_BEGIN);
  }

  std::string ReadAll() {
    SetFilePointer(handle_, 0, nullptr, FILE_BEGIN);
    std::string text;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(handle_, buffer, sizeof buffer, &got, nullptr) && got > 0)
      text.append(buffer, got);
    return text;
  }

 private:
  HANDLE handle_ = INVALID_HANDLE_VALUE;
};

// The three stream handles are inheritable only while their own child is created, so that a
// process started at the same moment from another thread inherits none of them.
std::mutex& ProcessCreation() {
  static std::mutex creation;
  return creation;
}

// Creates `program` suspended, with the standard streams of `startup` inheritable only while
// it is created. Wine now and then fails to create a process that starts fine a moment later:
// a failed creation is tried twice more before the test fails, naming the system's error.
PROCESS_INFORMATION CreateSuspended(const std::string& program, std::wstring& commandLine,
                                    DWORD flags, void* environment,
                                    const std::filesystem::path& directory,
                                    STARTUPINFOW& startup) {
  PROCESS_INFORMATION process{};
  DWORD error = 0;
  for (int attempt = 0; attempt < 3; ++attempt) {
    if (attempt > 0) Sleep(200);
    std::lock_guard<std::mutex> lock(ProcessCreation());
    const HANDLE streams[] = {startup.hStdInput, startup.hStdOutput, startup.hStdError};
    for (HANDLE stream : streams) SetHandleInformation(stream, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
    const BOOL created = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE,
                                        flags | CREATE_NO_WINDOW | CREATE_SUSPENDED, environment,
                                        directory.wstring().c_str(), &startup, &process);
    error = created ? 0 : GetLastError();
    for (HANDLE stream : streams) SetHandleInformation(stream, HANDLE_FLAG_INHERIT, 0);
    if (created) return process;
  }
  throw std::runtime_error("cannot start " + program + " (error " + std::to_string(error) + ")");
}

// Every process a test starts runs in a job of its own, with everything it starts in turn, so
// that the test sees what outlives the program: a probe must leave nothing running (a process
// left behind may hold a connection to SAP), and under Wine such a process would also keep the
// test's own output open, so that CTest waits for it until its timeout.
class RunJob {
 public:
  RunJob() {
    job_ = CreateJobObjectW(nullptr, nullptr);
    if (job_ == nullptr) throw std::runtime_error("no job object for a test's process");
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    SetInformationJobObject(job_, JobObjectExtendedLimitInformation, &limits, sizeof limits);
  }
  ~RunJob() {
    TerminateJobObject(job_, 9);
    CloseHandle(job_);
  }
  RunJob(const RunJob&) = delete;
  RunJob& operator=(const RunJob&) = delete;

  /// Puts a process created suspended in the job and lets it run.
  void Start(const PROCESS_INFORMATION& process) {
    if (!AssignProcessToJobObject(job_, process.hProcess)) {
      TerminateProcess(process.hProcess, 9);
      WaitForSingleObject(process.hProcess, INFINITE);
      CloseHandle(process.hThread);
      CloseHandle(process.hProcess);
      throw std::runtime_error("a test's process cannot be put in its job");
    }
    ResumeThread(process.hThread);
    CloseHandle(process.hThread);
  }

  /// The names of the job's processes still running after `grace` (a console host ends a
  /// moment after its program); they are ended then.
  std::string EndLeftProcesses(DWORD grace) {
    const ULONGLONG until = GetTickCount64() + grace;
    for (;;) {
      JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting{};
      if (!QueryInformationJobObject(job_, JobObjectBasicAccountingInformation, &accounting,
                                     sizeof accounting, nullptr) ||
          accounting.ActiveProcesses == 0) {
        return std::string();
      }
      if (GetTickCount64() >= until) break;
      Sleep(20);
    }
    std::string names = ProcessNames();
    TerminateJobObject(job_, 9);
    return names.empty() ? "(unnamed)" : names;
  }

 private:
  std::string ProcessNames() {
    struct {
      JOBOBJECT_BASIC_PROCESS_ID_LIST list;
      ULONG_PTR more[63];
    } ids{};
    if (!QueryInformationJobObject(job_, JobObjectBasicProcessIdList, &ids, sizeof ids, nullptr))
      return std::string();
    std::string names;
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return std::string();
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more;
         more = Process32NextW(snapshot, &entry)) {
      for (DWORD i = 0; i < ids.list.NumberOfProcessIdsInList && i < 64; ++i) {
        if (ids.list.ProcessIdList[i] != entry.th32ProcessID) continue;
        if (!names.empty()) names += ", ";
        for (const wchar_t* c = entry.szExeFile; *c != L'\0'; ++c)
          names += *c < 128 ? static_cast<char>(*c) : '?';
      }
    }
    CloseHandle(snapshot);
    return names;
  }

  HANDLE job_ = nullptr;
};

}  // namespace

std::string ProbePath() { return BesideTestProgram(KELVORAN_TEST_PROBE); }

std::string ProfileToolPath() { return BesideTestProgram(KELVORAN_TEST_PROFILE_TOOL); }

ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::filesystem::path& directory, const std::string& input,
                         const std::vector<std::string>& environment) {
  StreamFile in, out, err;
  in.Write(input);

  std::wstring commandLine = QuoteArgument(Widen(program));
  for (const std::string& arg : args) commandLine += L" " + QuoteArgument(Widen(arg));

  // A clean environment: the probe reads none, and only the simulated library's variable
  // could change what it sees. Windows itself needs to know where it lives.
  std::vector<std::string> variables;
  wchar_t systemRoot[MAX_PATH + 1];
  const DWORD rootLength = GetEnvironmentVariableW(L"SystemRoot", systemRoot, MAX_PATH + 1);
  if (rootLength > 0 && rootLength <= MAX_PATH) {
    std::string root;
    for (DWORD i = 0; i < rootLength; ++i) root += static_cast<char>(systemRoot[i]);
    variables = {"SystemRoot=" + root, "PATH=" + root + "\\system32"};
  }
  std::wstring block;
  for (const std::string& variable : WithEnvironment(variables, environment)) {
    block += Widen(variable);
    block += L'\0';
  }
  block += L'\0';

  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = in.Handle();
  startup.hStdOutput = out.Handle();
  startup.hStdError = err.Handle();
  RunJob job;
  const PROCESS_INFORMATION process =
      CreateSuspended(program, commandLine, CREATE_UNICODE_ENVIRONMENT, block.data(), directory,
                      startup);
  job.Start(process);
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = 0;
  const BOOL known = GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hProcess);
  const std::string left = job.EndLeftProcesses(5000);
  if (!left.empty()) ADD_FAILURE() << program << " left processes running after its end: " << left;

  ProcessResult result;
  result.out = out.ReadAll();
  result.err = err.ReadAll();
  // A crash ends a Windows process with an exception code far above any exit status.
  result.status = known && code <= 255 ? static_cast<int>(code) : -1;
  return result;
}

struct StartedProcess::Streams {
  StreamFile in, out, err;
  RunJob job;
};

StartedProcess::StartedProcess(const std::string& program, const std::vector<std::string>& args,
                               const std::filesystem::path& directory)
    : streams_(std::make_unique<Streams>()) {
  std::wstring commandLine = QuoteArgument(Widen(program));
  for (const std::string& arg : args) commandLine += L" " + QuoteArgument(Widen(arg));
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = streams_->in.Handle();
  startup.hStdOutput = streams_->out.Handle();
  startup.hStdError = streams_->err.Handle();
  const PROCESS_INFORMATION process =
      CreateSuspended(program, commandLine, 0, nullptr, directory, startup);
  streams_->job.Start(process);
  handle_ = reinterpret_cast<long long>(process.hProcess);
  id_ = process.dwProcessId;
  running_ = true;
}

StartedProcess::~StartedProcess() { Kill(); }

void StartedProcess::Kill() {
  if (!running_) return;
  const HANDLE process = reinterpret_cast<HANDLE>(handle_);
  TerminateProcess(process, 9);
  WaitForSingleObject(process, INFINITE);
  CloseHandle(process);
  running_ = false;
}

namespace {

// The ids of the processes `parent` has started. Windows gives a console program a console
// host of its own, which is no child it started.
std::vector<DWORD> ChildIds(unsigned long parent) {
  std::vector<DWORD> ids;
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return ids;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
    if (entry.th32ParentProcessID == parent && _wcsicmp(entry.szExeFile, L"conhost.exe") != 0) {
      ids.push_back(entry.th32ProcessID);
    }
  }
  CloseHandle(snapshot);
  return ids;
}

bool SameFile(HANDLE a, HANDLE b) {
  BY_HANDLE_FILE_INFORMATION first{}, second{};
  return GetFileInformationByHandle(a, &first) && GetFileInformationByHandle(b, &second) &&
         first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
         first.nFileIndexHigh == second.nFileIndexHigh && first.nFileIndexLow == second.nFileIndexLow;
}

}  // namespace

int StartedProcess::KillChildren() {
  int killed = 0;
  for (DWORD id : ChildIds(id_)) {
    const HANDLE child = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id);
    if (child == nullptr) continue;
    if (TerminateProcess(child, 9)) {
      WaitForSingleObject(child, INFINITE);
      ++killed;
    }
    CloseHandle(child);
  }
  return killed;
}

StartedProcess::Holders StartedProcess::ChildrenHoldingItsOutput() {
  // An inherited handle keeps its value: the child holds the output when the handle of that
  // value in the child is the same file.
  Holders holders;
  const HANDLE output = streams_->out.Handle();
  for (DWORD id : ChildIds(id_)) {
    ++holders.children;
    const HANDLE child = OpenProcess(PROCESS_DUP_HANDLE, FALSE, id);
    if (child == nullptr) continue;
    HANDLE copy = nullptr;
    if (DuplicateHandle(child, output, GetCurrentProcess(), &copy, 0, FALSE,
                        DUPLICATE_SAME_ACCESS)) {
      if (SameFile(copy, output)) ++holders.holding;
      CloseHandle(copy);
    }
    CloseHandle(child);
  }
  return holders;
}

ProcessResult StartedProcess::Wait() {
  ProcessResult result;
  if (!running_) return result;
  const HANDLE process = reinterpret_cast<HANDLE>(handle_);
  WaitForSingleObject(process, INFINITE);
  DWORD code = 0;
  const BOOL known = GetExitCodeProcess(process, &code);
  CloseHandle(process);
  running_ = false;
  result.out = streams_->out.ReadAll();
  result.err = streams_->err.ReadAll();
  result.status = known && code <= 255 ? static_cast<int>(code) : -1;
  return result;
}

#else

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

void ExecInCleanEnvironment(const char* program, char* const* argv, const char* directory,
                            char* const* environment) {
  if (chdir(directory) != 0) _exit(127);
  // A clean environment: the probe reads none, and only the simulated library's variable
  // could change what it sees.
  char path[] = "PATH=/usr/bin:/bin";
  char options[] = "ASAN_OPTIONS=detect_leaks=0";
  char* clean[] = {path, options, nullptr};
  execve(program, argv, environment != nullptr ? environment : clean);
  _exit(127);
}

std::string ProbePath() { return KELVORAN_TEST_PROBE; }

std::string ProfileToolPath() { return KELVORAN_TEST_PROFILE_TOOL; }

ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::filesystem::path& directory, const std::string& input,
                         const std::vector<std::string>& environment) {
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
  // A clean environment: the probe reads none, and only the simulated library's variable
  // could change what it sees.
  std::vector<std::string> variables = WithEnvironment(
      {"PATH=/usr/bin:/bin", "ASAN_OPTIONS=detect_leaks=0"}, environment);
  std::vector<char*> env;
  for (std::string& variable : variables) env.push_back(variable.data());
  env.push_back(nullptr);
  const pid_t child = fork();
  if (child < 0) throw std::runtime_error("fork failed");
  if (child == 0) {
    dup2(fileno(in), 0);
    dup2(fileno(out), 1);
    dup2(fileno(err), 2);
    ExecInCleanEnvironment(program.c_str(), argv.data(), directory.c_str(), env.data());
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

struct StartedProcess::Streams {
  std::FILE* out = std::tmpfile();
  std::FILE* err = std::tmpfile();
  ~Streams() {
    if (out != nullptr) std::fclose(out);
    if (err != nullptr) std::fclose(err);
  }
};

StartedProcess::StartedProcess(const std::string& program, const std::vector<std::string>& args,
                               const std::filesystem::path& directory)
    : streams_(std::make_unique<Streams>()) {
  if (streams_->out == nullptr || streams_->err == nullptr) throw std::runtime_error("tmpfile failed");
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  const int out = fileno(streams_->out);
  const int err = fileno(streams_->err);
  const pid_t child = fork();
  if (child < 0) throw std::runtime_error("fork failed");
  if (child == 0) {
    const int null = open("/dev/null", O_RDONLY);
    dup2(null, 0);
    dup2(out, 1);
    dup2(err, 2);
    ExecInCleanEnvironment(program.c_str(), argv.data(), directory.c_str());
  }
  handle_ = child;
  id_ = static_cast<unsigned long>(child);
  running_ = true;
}

StartedProcess::~StartedProcess() { Kill(); }

void StartedProcess::Kill() {
  if (!running_) return;
  kill(static_cast<pid_t>(handle_), SIGKILL);
  int status = 0;
  waitpid(static_cast<pid_t>(handle_), &status, 0);
  running_ = false;
}

namespace {

// The running processes whose parent is `parent`: field 4 of /proc/<pid>/stat, after the name
// in brackets.
std::vector<pid_t> ChildIds(unsigned long parent) {
  std::vector<pid_t> ids;
  for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
    const std::string name = entry.path().filename().string();
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    std::FILE* stat = std::fopen((entry.path() / "stat").c_str(), "r");
    if (stat == nullptr) continue;
    char line[512] = {};
    const bool read = std::fgets(line, sizeof line, stat) != nullptr;
    std::fclose(stat);
    const char* close = read ? std::strrchr(line, ')') : nullptr;
    char state = 0;
    long parentId = 0;
    if (close == nullptr || std::sscanf(close + 1, " %c %ld", &state, &parentId) != 2) continue;
    if (parentId == static_cast<long>(parent) && state != 'Z') ids.push_back(std::stoi(name));
  }
  return ids;
}

}  // namespace

int StartedProcess::KillChildren() {
  int killed = 0;
  for (pid_t id : ChildIds(id_)) {
    if (kill(id, SIGKILL) == 0) ++killed;
  }
  return killed;
}

StartedProcess::Holders StartedProcess::ChildrenHoldingItsOutput() {
  Holders holders;
  struct stat output {};
  if (fstat(fileno(streams_->out), &output) != 0) return holders;
  for (pid_t id : ChildIds(id_)) {
    ++holders.children;
    std::error_code error;
    const std::filesystem::path fds = "/proc/" + std::to_string(id) + "/fd";
    for (const auto& entry : std::filesystem::directory_iterator(fds, error)) {
      struct stat file {};
      if (stat(entry.path().c_str(), &file) == 0 && file.st_dev == output.st_dev &&
          file.st_ino == output.st_ino) {
        ++holders.holding;
        break;
      }
    }
  }
  return holders;
}

ProcessResult StartedProcess::Wait() {
  ProcessResult result;
  if (!running_) return result;
  int status = 0;
  waitpid(static_cast<pid_t>(handle_), &status, 0);
  running_ = false;
  result.out = ReadStream(streams_->out);
  result.err = ReadStream(streams_->err);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

#endif

}  // namespace kelvoran
