/// The file of the running executable: what a global run starts again for its systems, and the
/// folder where the probe looks first for SAP's library.
#ifndef KELVORAN_PLATFORM_OWN_EXECUTABLE_H
#define KELVORAN_PLATFORM_OWN_EXECUTABLE_H

#include <string>

namespace kelvoran {

/// The full path of the running executable; empty when the system does not tell it.
#ifdef _WIN32
std::wstring OwnExecutable();
/// The full path of the loaded module `module` (an HMODULE; null: the executable); empty when
/// the system does not tell it.
std::wstring ModuleFile(void* module);
#else
std::string OwnExecutable();
#endif

}  // namespace kelvoran

#endif
