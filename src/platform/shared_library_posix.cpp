// Shared libraries on POSIX systems: dlopen, with the working directory set aside while the
// loader looks.
#ifndef _WIN32

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#if defined(__GLIBC__)
#include <link.h>
#endif

#include <cstring>
#include <string_view>

#include "platform/own_executable.h"
#include "platform/shared_library.h"

namespace kelvoran {

namespace {

#ifdef O_PATH
constexpr int kFolderOnly = O_PATH | O_DIRECTORY | O_CLOEXEC;
#else
constexpr int kFolderOnly = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
#endif

// The working directory set aside: "/" is the working directory while this exists, so that
// every empty or relative folder of the loader's path is taken below "/", which only the
// system's administrator writes to. Put back by Restore. The run loads SAP's library before
// its first connection, when none of its files is being written: the only other thread, a
// deadline's, then has no file of the working directory to remove.
class WorkingDirectoryAside {
 public:
  WorkingDirectoryAside() : saved_(open(".", kFolderOnly)) {
    if (saved_ >= 0 && chdir("/") != 0) {
      close(saved_);
      saved_ = -1;
    }
  }
  ~WorkingDirectoryAside() { Restore(); }
  WorkingDirectoryAside(const WorkingDirectoryAside&) = delete;
  WorkingDirectoryAside& operator=(const WorkingDirectoryAside&) = delete;

  /// False when the working directory could not be set aside (nothing was changed then).
  bool Aside() const { return saved_ >= 0; }

  /// The working directory put back; false when that failed.
  bool Restore() {
    if (saved_ < 0) return true;
    const bool restored = fchdir(saved_) == 0;
    close(saved_);
    saved_ = -1;
    return restored;
  }

 private:
  int saved_;
};

bool Exists(const std::string& path) {
  struct stat status;
  return stat(path.c_str(), &status) == 0;
}

bool Contains(std::string_view text, const char* part) {
  return text.find(part) != std::string_view::npos;
}

// The loader's message is "<file>: <what went wrong>", where the file is the one asked for or
// a library it needs.
LoadOutcome Explain(std::string_view message, const std::string& asked) {
  LoadOutcome outcome;
  outcome.path = asked;
  const std::size_t colon = message.find(": ");
  const std::string_view file = message.substr(0, colon);
  const bool aboutAsked = colon != std::string_view::npos && file == asked;
  if (Contains(message, "No such file or directory")) {
    outcome.failure = aboutAsked ? LoadFailure::NotFound : LoadFailure::NeededLibraryMissing;
    if (!aboutAsked && colon != std::string_view::npos) outcome.detail = std::string(file);
  } else if (aboutAsked && (Contains(message, "wrong ELF class") ||
                            Contains(message, "invalid ELF header") ||
                            Contains(message, "file too short") ||
                            Contains(message, "wrong ELF machine") ||
                            Contains(message, "ELF load command"))) {
    outcome.failure = LoadFailure::WrongKind;
  } else if (aboutAsked && Contains(message, "Permission denied")) {
    outcome.failure = LoadFailure::NoAccess;
  } else {
    outcome.failure = LoadFailure::Other;
    outcome.detail = std::string(message);
  }
  return outcome;
}

// The file the loader took the library from.
std::string LoadedFrom(void* handle, const std::string& asked) {
#if defined(__GLIBC__)
  link_map* map = nullptr;
  if (dlinfo(handle, RTLD_DI_LINKMAP, &map) == 0 && map != nullptr && map->l_name != nullptr &&
      map->l_name[0] != '\0') {
    return map->l_name;
  }
#else
  (void)handle;
#endif
  return asked;
}

}  // namespace

LoadOutcome SharedLibrary::Load(const std::string& fileName) {
  LoadOutcome outcome;
  const std::string executable = OwnExecutable();
  const std::size_t slash = executable.rfind('/');
  if (slash != std::string::npos) outcome.executableFolder = executable.substr(0, slash + 1);

  // Beside the executable when it is there, whatever it is: the operator put it there.
  std::string asked = fileName;
  if (!outcome.executableFolder.empty() && Exists(outcome.executableFolder + fileName)) {
    asked = outcome.executableFolder + fileName;
  }
  WorkingDirectoryAside aside;
  if (!aside.Aside()) {
    outcome.failure = LoadFailure::Other;
    outcome.path = asked;
    outcome.detail = "the working directory could not be kept out of the loader's search";
    return outcome;
  }
  void* handle = dlopen(asked.c_str(), RTLD_NOW | RTLD_LOCAL);
  const char* error = handle == nullptr ? dlerror() : nullptr;
  const std::string message = error != nullptr ? error : "";
  if (!aside.Restore()) {
    // Every file of the run is in the working directory: the run cannot go on elsewhere.
    outcome.failure = LoadFailure::Other;
    outcome.path = asked;
    outcome.detail = "the working directory could not be entered again after loading";
    return outcome;
  }
  if (handle == nullptr) {
    const std::string folder = outcome.executableFolder;
    outcome = Explain(message, asked);
    outcome.executableFolder = folder;
    return outcome;
  }
  handle_ = handle;
  outcome.path = LoadedFrom(handle, asked);
  return outcome;
}

SharedLibrary::Operation SharedLibrary::Find(const char* name) const {
  if (handle_ == nullptr) return nullptr;
  void* address = dlsym(handle_, name);
  Operation operation = nullptr;
  static_assert(sizeof operation == sizeof address, "a function's address fits a pointer");
  std::memcpy(&operation, &address, sizeof operation);
  return operation;
}

}  // namespace kelvoran

#endif
