// Shared libraries on Windows: the file looked for in the folders of Windows' search for a
// program's DLLs without the working directory, then loaded by its full path with
// LoadLibraryExW, without the system's error boxes, which nobody would close in a monitor's
// service session.
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

// The folders Windows searches for a program's DLLs, in its order, without the working
// directory: the executable's folder, the system folders, then the absolute folders of PATH
// (a relative one would be the working directory's).
std::vector<std::wstring> SearchFolders(const std::wstring& executableFolder) {
  std::vector<std::wstring> folders = {executableFolder, SystemFolder(GetSystemDirectoryW),
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
      const bool absolute = (folder.size() >= 3 && folder[1] == L':' &&
                             (folder[2] == L'\\' || folder[2] == L'/')) ||
                            (folder.size() >= 2 && folder[0] == L'\\' && folder[1] == L'\\');
      if (absolute) folders.push_back(folder);
      start = end + 1;
    }
  }
  return folders;
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
  const std::wstring executableFolder =
      separator != std::wstring::npos ? executable.substr(0, separator + 1) : std::wstring();
  outcome.executableFolder = Narrow(executableFolder);

  std::wstring found;
  for (const std::wstring& folder : SearchFolders(executableFolder)) {
    if (folder.empty()) continue;
    const std::wstring candidate = InFolder(folder, fileName);
    if (IsFile(candidate)) {
      found = candidate;
      break;
    }
  }
  if (found.empty()) {
    outcome.failure = LoadFailure::NotFound;
    outcome.path = name;
    return outcome;
  }
  outcome.path = Narrow(found);

  // The library's folder takes the working directory's place in every later search of this
  // process: SAP's DLL finds the DLLs it needs beside it, in the system folders or on PATH,
  // never in the working directory (an empty folder would do that on Windows, not under Wine).
  const std::wstring foundFolder = found.substr(0, found.find_last_of(L"\\/"));
  SetDllDirectoryW(foundFolder.c_str());
  DWORD previousMode = 0;
  SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &previousMode);
  HMODULE module = LoadLibraryExW(found.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  const DWORD error = module == nullptr ? GetLastError() : ERROR_SUCCESS;
  SetThreadErrorMode(previousMode, nullptr);

  if (module != nullptr) {
    handle_ = module;
    const std::wstring loaded = ModuleFile(module);
    if (!loaded.empty()) outcome.path = Narrow(loaded);
    return outcome;
  }
  switch (error) {
    case ERROR_MOD_NOT_FOUND:
      outcome.failure = LoadFailure::NeededLibraryMissing;
      break;
    case ERROR_BAD_EXE_FORMAT:
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
