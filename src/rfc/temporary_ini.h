/// This process's own file while it puts an RFC library's configuration file in place: over
/// the classic library the copy of a per-destination file before it is renamed over
/// "SapRfc.ini"; over the NW RFC library a folder of its own holding its "sapnwrfc.ini" while
/// the library opens from it.
///
/// Apart from the connection so that the endings that remove it (the failure report, the
/// deadline, a parallel run ending its system probes) need nothing of the RFC library: the
/// profile tool links the deadline and must run without the library.
#ifndef KELVORAN_RFC_TEMPORARY_INI_H
#define KELVORAN_RFC_TEMPORARY_INI_H

#include <string>

namespace kelvoran {

class FileSystem;
struct RunContext;

/// The one file a process's own folder holds: the NW RFC library's configuration file.
inline constexpr const char* kOwnFolderIniName = "sapnwrfc.ini";

/// The name: "Kelvoran." + process id + ".tmp", never a name "SapRfc." + a destination.
const std::string& TemporaryIniName(RunContext& ctx);

/// The name of the process `processId`'s file or folder.
std::string TemporaryIniNameOf(unsigned long processId);

/// Removes this process's file or folder if one may still be on disk (every ending that can
/// cut its use short calls it). Safe to call from another thread than the run's, and more than
/// once.
void RemoveTemporaryIni(RunContext& ctx);

/// Removes what the process `processId` may have left: its file, or its folder with its file.
void RemoveTemporaryIniOf(FileSystem& files, unsigned long processId);

}  // namespace kelvoran

#endif
