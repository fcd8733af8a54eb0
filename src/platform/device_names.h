/// Windows' reserved device names, which look like file names in any folder.
#ifndef KELVORAN_PLATFORM_DEVICE_NAMES_H
#define KELVORAN_PLATFORM_DEVICE_NAMES_H

#include <string_view>

namespace kelvoran {

/// True when the last part of `path` names a Windows device rather than a file: CON, PRN, AUX,
/// NUL, COM1 to COM9 or LPT1 to LPT9, in any letter case, alone or with an extension ("nul",
/// "Aux.P00", "D:\cfg\COM1.txt"). Windows ignores blanks after the name ("NUL .P00"), and so
/// does this test. Both '\' and '/' separate folders, and a drive ("C:NUL") counts as one.
bool IsReservedDeviceName(std::string_view path);

}  // namespace kelvoran

#endif
