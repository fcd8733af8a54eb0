// Shared libraries on Windows: LoadLibraryExW with the working directory taken out of the
// search (SetDllDirectoryW with an empty folder) and without the system's error boxes, which
// nobody would close in a monitor's service session.
#ifdef _WIN32

#include <windows.h>

#include <string>
#include <vector>

#include "platform/own_executable.h"
#include "platform/shared_library.h"

namespace kelvoran {

namespace {

// A text of the system in the ANSI code page, the probe's own (file names included).
std::string Narrow(const std::wstring& text) {
  if (text.empty()) return std::string();
  const int size = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  if (size <= 0) return std::string();
  std::string narrow(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), narrow.data(), size,
                      nullptr, nullptr);
  return narrow;
}

std::wstring Widen(const std::string& text) {
  if (text.empty()) return std::wstring();
  const int size =
      MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (size <= 0) return std::wstring();
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
  return wide;
}

bool IsFile(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::wstring InFolder(std::wstring folder, const std::wstring& fileName) {
  if (!folder.empty() && folder.back() != L'\\' && folder.back() != L'/') folder += L'\\';
  return folder + fileName;
}

// A folder the system names (its own folder, Windows' folder).
std::wstring SystemFolder(UINT(WINAPI* query)(LPWSTR, UINT)) {
  wchar_t folder[MAX_PATH + 1];
  const UINT length = query(folder, MAX_PATH + 1);
  return length > 0 && length <= MAX_PATH ? std::wstring(folder, length) : std::wstring();
}

// Where the system's search found `fileName` (the system folders, then the absolute folders of
// PATH, as LoadLibrary searches after the program's own folder); empty when nowhere. Only asked
// after a failed load, to tell a missing library from one whose own libraries are missing.
std::wstring FoundOnSystemPath(const std::wstring& fileName) {
  std::vector<std::wstring> folders = {SystemFolder(GetSystemDirectoryW),
                                       SystemFolder(GetWindowsDirectoryW)};
  const DWORD size = GetEnvironmentVariableW(L"PATH", nullptr, 0);
  if (size > 0) {
    std::wstring path(size, L'\0');
    const DWORD length = GetEnvironmentVariableW(L"PATH", path.data(), size);
    path.resize(length < size ? length : 0);
    std::size_t start = 0;
    while (start <= path.size()) {
      std::size_t end = path.find(L';', start);
      if (end == std::wstring::npos) end = path.size();
      std::wstring folder = path.substr(start, end - start);
      if (folder.size() >= 2 && folder.front() == L'"' && folder.back() == L'"') {
        folder = folder.substr(1, folder.size() - 2);
      }
      // A relative folder would be the working directory's: never searched.
      const bool absolute = (folder.size() >= 3 && folder[1] == L':' &&
                             (folder[2] == L'\\' || folder[2] == L'/')) ||
                            (folder.size() >= 2 && folder[0] == L'\\' && folder[1] == L'\\');
      if (absolute) folders.push_back(folder);
      start = end + 1;
    }
  }
  for (const std::wstring& folder : folders) {
    if (folder.empty()) continue;
    const std::wstring candidate = InFolder(folder, fileName);
    if (IsFile(candidate)) return candidate;
  }
  return std::wstring();
}

std::string SystemText(DWORD code) {
  wchar_t* text = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring words = length > 0 && text != nullptr ? std::wstring(text, length) : std::wstring();
  if (text != nullptr) LocalFree(text);
  while (!words.empty() && (words.back() == L'\n' || words.back() == L'\r' ||
                            words.back() == L' ' || words.back() == L'.')) {
    words.pop_back();
  }
  return "system error " + std::to_string(code) + (words.empty() ? "" : ": " + Narrow(words));
}

}  // namespace

LoadOutcome SharedLibrary::Load(const std::string& name) {
  LoadOutcome outcome;
  const std::wstring fileName = Widen(name);
  const std::wstring executable = OwnExecutable();
  const std::size_t separator = executable.find_last_of(L"\\/");
  const std::wstring folder =
      separator != std::wstring::npos ? executable.substr(0, separator + 1) : std::wstring();
  outcome.executableFolder = Narrow(folder);

  // The working directory is out of every later search of this process, the libraries that
  // SAP's library loads itself included.
  SetDllDirectoryW(L"");
  DWORD previousMode = 0;
  SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &previousMode);
  const std::wstring beside = folder.empty() ? std::wstring() : InFolder(folder, fileName);
  const bool isBeside = !beside.empty() && IsFile(beside);
  // From its full path, the libraries it needs are looked for beside it first.
  HMODULE module = isBeside ? LoadLibraryExW(beside.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH)
                            : LoadLibraryExW(fileName.c_str(), nullptr, 0);
  const DWORD error = module == nullptr ? GetLastError() : ERROR_SUCCESS;
  SetThreadErrorMode(previousMode, nullptr);

  if (module != nullptr) {
    handle_ = module;
    const std::wstring loaded = ModuleFile(module);
    outcome.path = Narrow(loaded.empty() ? fileName : loaded);
    return outcome;
  }
  const std::wstring found = isBeside ? beside : FoundOnSystemPath(fileName);
  outcome.path = Narrow(found.empty() ? fileName : found);
  switch (error) {
    case ERROR_MOD_NOT_FOUND:
      outcome.failure = found.empty() ? LoadFailure::NotFound : LoadFailure::NeededLibraryMissing;
      break;
    case ERROR_BAD_EXE_FORMAT:
    case ERROR_INVALID_IMAGE_HASH:
    case ERROR_EXE_MACHINE_TYPE_MISMATCH:
      outcome.failure = LoadFailure::WrongKind;
      break;
    case ERROR_ACCESS_DENIED:
      outcome.failure = LoadFailure::NoAccess;
      break;
    case ERROR_PROC_NOT_FOUND:
      outcome.failure = LoadFailure::Other;
      outcome.detail = "a library it needs lacks an operation it calls (another version)";
      break;
    default:
      outcome.failure = LoadFailure::Other;
      outcome.detail = SystemText(error);
      break;
  }
  return outcome;
}

SharedLibrary::Operation SharedLibrary::Find(const char* name) const {
  if (handle_ == nullptr) return nullptr;
  return reinterpret_cast<Operation>(
      reinterpret_cast<void (*)()>(GetProcAddress(static_cast<HMODULE>(handle_), name)));
}

}  // namespace kelvoran

#endif
