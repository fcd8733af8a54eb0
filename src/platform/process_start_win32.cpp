// Start-up on Windows: a missing standard handle is replaced by one on the null device, so
// that what reads or writes it (and the system probes, which get the standard error) meets a
// handle that works.
#ifdef _WIN32

#include <windows.h>

#include "platform/process_start.h"

namespace kelvoran {

void SettleProcessStart() {
  const DWORD streams[] = {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE};
  for (DWORD stream : streams) {
    const HANDLE handle = GetStdHandle(stream);
    if (handle != nullptr && handle != INVALID_HANDLE_VALUE) continue;
    const HANDLE null = CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                    nullptr);
    if (null != INVALID_HANDLE_VALUE) SetStdHandle(stream, null);
  }
}

}  // namespace kelvoran

#endif
