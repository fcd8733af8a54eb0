// Child processes on Windows: CreateProcessW with an anonymous pipe as standard input and a
// named pipe in overlapped mode as standard output, so that the parent waits for the output of
// all its children at once (at most 64, the most WaitForMultipleObjects takes). Every child is
// put in a job object that kills its processes when the last handle to it closes; the parent
// holds the only one, so the children end with the parent, however it ends.
#ifdef _WIN32

#include <windows.h>

#include <string>
#include <vector>

#include "platform/child_processes.h"
#include "platform/own_executable.h"

namespace kelvoran {

struct ChildSlot {
  HANDLE process = nullptr;
  HANDLE output = nullptr;  // server end of the named pipe the child writes to
  HANDLE input = nullptr;   // write end of the child's standard input
  HANDLE event = nullptr;   // signalled when a read of `output` completes
  OVERLAPPED overlapped{};
  std::vector<char> buffer;
  DWORD id = 0;
  bool pending = false;     // a read of `output` is under way
  bool closed = false;      // `output` was found closed when a read was started
  bool killed = false;
};

namespace {

constexpr DWORD kPipeBuffer = 65536;

void CloseAndClear(HANDLE& handle) {
  if (handle != nullptr && handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
  handle = nullptr;
}

bool WriteWhole(HANDLE handle, std::string_view bytes) {
  while (!bytes.empty()) {
    DWORD written = 0;
    const DWORD chunk = bytes.size() > 65536 ? 65536 : static_cast<DWORD>(bytes.size());
    if (!WriteFile(handle, bytes.data(), chunk, &written, nullptr)) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

// Starts a read of the child's output if none is under way.
void StartRead(ChildSlot& s) {
  if (s.pending || s.closed) return;
  s.overlapped = OVERLAPPED{};
  s.overlapped.hEvent = s.event;
  if (ReadFile(s.output, s.buffer.data(), static_cast<DWORD>(s.buffer.size()), nullptr,
               &s.overlapped) ||
      GetLastError() == ERROR_IO_PENDING) {
    s.pending = true;
  } else {
    // Closed (ERROR_BROKEN_PIPE) or broken: the slot reports its end at once.
    s.closed = true;
    SetEvent(s.event);
  }
}


// The attributes a child is created with: it inherits only the handles named (its standard
// streams), none of the parent's others (the monitor's output pipe among them, which a child
// must never keep open), and it is created inside the job, where Windows can do that
// (Windows 10 and later). Null where the system has no attribute lists.
class ChildAttributes {
 public:
  ChildAttributes(HANDLE* handles, std::size_t count, HANDLE* job) {
    SIZE_T size = 0;
    InitializeProcThreadAttributeList(nullptr, 2, 0, &size);
    storage_.resize(size);
    list_ = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(storage_.data());
    if (size == 0 || !InitializeProcThreadAttributeList(list_, 2, 0, &size)) {
      list_ = nullptr;
      return;
    }
    if (!UpdateProcThreadAttribute(list_, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, handles,
                                   count * sizeof(HANDLE), nullptr, nullptr)) {
      DeleteProcThreadAttributeList(list_);
      list_ = nullptr;
      return;
    }
    inJob_ = UpdateProcThreadAttribute(list_, 0, PROC_THREAD_ATTRIBUTE_JOB_LIST, job,
                                       sizeof(HANDLE), nullptr, nullptr) != 0;
  }
  ~ChildAttributes() {
    if (list_ != nullptr) DeleteProcThreadAttributeList(list_);
  }
  ChildAttributes(const ChildAttributes&) = delete;
  ChildAttributes& operator=(const ChildAttributes&) = delete;

  LPPROC_THREAD_ATTRIBUTE_LIST List() const { return list_; }
  /// The child is created inside the job.
  bool InJob() const { return list_ != nullptr && inJob_; }

 private:
  std::vector<char> storage_;
  LPPROC_THREAD_ATTRIBUTE_LIST list_ = nullptr;
  bool inJob_ = false;
};

// Starts the probe's executable with the standard streams `streams` (input, output and, when
// `count` is 3, error) in `job`, running. A Windows that cannot create the child inside the job
// gets it created suspended, put in the job and only then let run, so that it never runs
// outside it. Its standard streams are pipes and it uses no console: detached, it gets none, so
// that no console host is started for each system (one more process per system that could
// outlive a killed child).
bool CreateChild(const std::wstring& program, std::wstring& commandLine, HANDLE* streams,
                 std::size_t count, HANDLE job, PROCESS_INFORMATION& info) {
  STARTUPINFOEXW startup{};
  startup.StartupInfo.cb = sizeof startup;
  startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
  startup.StartupInfo.hStdInput = streams[0];
  startup.StartupInfo.hStdOutput = streams[1];
  startup.StartupInfo.hStdError = count > 2 ? streams[2] : nullptr;
  HANDLE jobs[1] = {job};
  const ChildAttributes attributes(streams, count, jobs);
  startup.lpAttributeList = attributes.List();
  DWORD flags = DETACHED_PROCESS;
  if (attributes.List() != nullptr) flags |= EXTENDED_STARTUPINFO_PRESENT;
  if (!attributes.InJob()) flags |= CREATE_SUSPENDED;
  if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, flags,
                      nullptr, nullptr, &startup.StartupInfo, &info)) {
    return false;
  }
  if (!attributes.InJob()) {
    if (!AssignProcessToJobObject(job, info.hProcess)) {
      TerminateProcess(info.hProcess, 1);
      WaitForSingleObject(info.hProcess, INFINITE);
      CloseHandle(info.hThread);
      CloseHandle(info.hProcess);
      return false;
    }
    ResumeThread(info.hThread);
  }
  return true;
}

}  // namespace

struct ChildProcesses::State {
  std::vector<ChildSlot> slots;
  HANDLE job = nullptr;
  /// Children started so far: names the pipes.
  unsigned long started = 0;
};

ChildProcesses::ChildProcesses(std::size_t capacity) : state_(std::make_unique<State>()) {
  state_->slots.resize(capacity);
  HANDLE job = CreateJobObjectW(nullptr, nullptr);
  if (job != nullptr) {
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (!SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits)) {
      CloseHandle(job);
      job = nullptr;
    }
  }
  state_->job = job;
}

ChildProcesses::~ChildProcesses() {
  for (std::size_t slot = 0; slot < state_->slots.size(); ++slot) {
    if (state_->slots[slot].process != nullptr) {
      Kill(slot);
      Finish(slot);
    }
  }
  if (state_->job != nullptr) CloseHandle(state_->job);
}

bool ChildProcesses::Start(std::size_t slot, std::string_view argument, std::string_view request) {
  // Without the job a child could outlive a killed parent: no child is started then.
  if (state_->job == nullptr) return false;
  ChildSlot& s = state_->slots[slot];
  const std::wstring program = OwnExecutable();
  if (program.empty()) return false;

  const std::wstring pipeName = L"\\\\.\\pipe\\kelvoran-" + std::to_wstring(GetCurrentProcessId()) +
                                L"-" + std::to_wstring(++state_->started);
  SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  HANDLE output = CreateNamedPipeW(pipeName.c_str(),
                                   PIPE_ACCESS_INBOUND | FILE_FLAG_OVERLAPPED |
                                       FILE_FLAG_FIRST_PIPE_INSTANCE,
                                   PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT, 1, 0,
                                   kPipeBuffer, 0, nullptr);
  if (output == INVALID_HANDLE_VALUE) return false;
  HANDLE childOutput = CreateFileW(pipeName.c_str(), GENERIC_WRITE, 0, &inherited, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
  HANDLE childInput = nullptr;
  HANDLE toChild = nullptr;
  HANDLE childError = nullptr;
  HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  bool ready = childOutput != INVALID_HANDLE_VALUE && event != nullptr &&
               CreatePipe(&childInput, &toChild, &inherited, kPipeBuffer) &&
               SetHandleInformation(toChild, HANDLE_FLAG_INHERIT, 0);
  if (ready) {
    // The child's end is connected already; the call only confirms it.
    OVERLAPPED connect{};
    connect.hEvent = event;
    if (!ConnectNamedPipe(output, &connect) && GetLastError() == ERROR_IO_PENDING) {
      DWORD ignored = 0;
      GetOverlappedResult(output, &connect, &ignored, TRUE);
    }
    const HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
    if (error != nullptr && error != INVALID_HANDLE_VALUE) {
      DuplicateHandle(GetCurrentProcess(), error, GetCurrentProcess(), &childError, 0, TRUE,
                      DUPLICATE_SAME_ACCESS);
    }
  }
  PROCESS_INFORMATION info{};
  if (ready) {
    std::wstring commandLine = L"\"" + program + L"\" ";
    for (char c : argument) commandLine += static_cast<wchar_t>(static_cast<unsigned char>(c));
    HANDLE streams[3] = {childInput, childOutput, childError};
    ready = CreateChild(program, commandLine, streams, childError != nullptr ? 3 : 2,
                        state_->job, info);
  }
  CloseAndClear(childOutput);
  CloseAndClear(childInput);
  CloseAndClear(childError);
  if (!ready) {
    CloseAndClear(output);
    CloseAndClear(toChild);
    CloseAndClear(event);
    return false;
  }
  CloseHandle(info.hThread);

  s.process = info.hProcess;
  s.id = info.dwProcessId;
  s.output = output;
  s.input = toChild;
  s.event = event;
  s.buffer.assign(kPipeBuffer, '\0');
  s.pending = false;
  s.closed = false;
  s.killed = false;
  // A child that has died already shows it by its closed output; nothing to do here.
  WriteWhole(s.input, request);
  return true;
}

std::size_t ChildProcesses::WaitForOutput() {
  std::vector<HANDLE> events;
  std::vector<std::size_t> slotOf;
  for (std::size_t slot = 0; slot < state_->slots.size(); ++slot) {
    ChildSlot& s = state_->slots[slot];
    if (s.output == nullptr) continue;
    StartRead(s);
    events.push_back(s.event);
    slotOf.push_back(slot);
  }
  const DWORD woken =
      WaitForMultipleObjects(static_cast<DWORD>(events.size()), events.data(), FALSE, INFINITE);
  if (woken >= WAIT_OBJECT_0 && woken < WAIT_OBJECT_0 + events.size()) {
    return slotOf[woken - WAIT_OBJECT_0];
  }
  return slotOf.front();
}

bool ChildProcesses::Read(std::size_t slot, std::string& into) {
  ChildSlot& s = state_->slots[slot];
  if (s.output == nullptr) return false;
  StartRead(s);
  if (!s.closed) {
    DWORD got = 0;
    const bool done = GetOverlappedResult(s.output, &s.overlapped, &got, TRUE) != 0;
    s.pending = false;
    if (done) {
      into.append(s.buffer.data(), got);
      return true;
    }
  }
  CloseAndClear(s.output);
  return false;
}

void ChildProcesses::Kill(std::size_t slot) {
  ChildSlot& s = state_->slots[slot];
  if (s.process == nullptr || s.killed) return;
  TerminateProcess(s.process, 1);
  s.killed = true;
  WaitForSingleObject(s.process, INFINITE);
}

int ChildProcesses::Finish(std::size_t slot) {
  ChildSlot& s = state_->slots[slot];
  if (s.output != nullptr) {
    if (s.pending) {
      CancelIo(s.output);
      DWORD ignored = 0;
      GetOverlappedResult(s.output, &s.overlapped, &ignored, TRUE);
    }
    CloseAndClear(s.output);
  }
  WaitForSingleObject(s.process, INFINITE);
  DWORD code = 0;
  const bool known = GetExitCodeProcess(s.process, &code) != 0;
  CloseAndClear(s.process);
  CloseAndClear(s.input);
  CloseAndClear(s.event);
  const bool killed = s.killed;
  s = ChildSlot{};
  return known && !killed ? static_cast<int>(code) : kChildKilled;
}

unsigned long ChildProcesses::Id(std::size_t slot) const { return state_->slots[slot].id; }

bool WatchParent(unsigned long) {
  // The parent's job kills this process when the parent ends; it was put there before it ran.
  return true;
}

std::size_t ReadFromParent(char* buffer, std::size_t size) {
  DWORD got = 0;
  const DWORD asked = size > 65536 ? 65536 : static_cast<DWORD>(size);
  if (!ReadFile(GetStdHandle(STD_INPUT_HANDLE), buffer, asked, &got, nullptr)) return 0;
  return got;
}

bool WriteToParent(std::string_view bytes) {
  return WriteWhole(GetStdHandle(STD_OUTPUT_HANDLE), bytes);
}

}  // namespace kelvoran

#endif
