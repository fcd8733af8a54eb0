#ifdef _WIN32

#include <windows.h>

#include <vector>

#include "platform/own_executable.h"

namespace kelvoran {

std::wstring OwnExecutable() { return ModuleFile(nullptr); }

std::wstring ModuleFile(void* module) {
  std::vector<wchar_t> path(MAX_PATH);
  for (;;) {
    const DWORD length = GetModuleFileNameW(static_cast<HMODULE>(module), path.data(),
                                            static_cast<DWORD>(path.size()));
    if (length == 0) return std::wstring();
    if (length < path.size()) return std::wstring(path.data(), length);
    if (path.size() >= 32768) return std::wstring();
    path.resize(path.size() * 2);
  }
}

}  // namespace kelvoran

#endif
