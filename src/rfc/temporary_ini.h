/// This process's own copy of a per-destination file while it is written, before it is renamed
/// over "SapRfc.ini".
///
/// Apart from the connection so that the endings that remove a copy cut short (the failure
/// report, the deadline) need nothing of the RFC library: the profile tool links the deadline
/// and must run without the library.
#ifndef KELVORAN_RFC_TEMPORARY_INI_H
#define KELVORAN_RFC_TEMPORARY_INI_H

#include <string>

namespace kelvoran {

struct RunContext;

/// The copy's name: "Kelvoran." + process id + ".tmp", never a name "SapRfc." + a destination.
const std::string& TemporaryIniName(RunContext& ctx);

/// The name of the copy of the process `processId`.
std::string TemporaryIniNameOf(unsigned long processId);

/// Removes this process's copy if one may still be on disk (an ending that cuts the
/// replacement of SapRfc.ini short calls it). Safe to call from another thread than the run's,
/// and more than once.
void RemoveTemporaryIni(RunContext& ctx);

}  // namespace kelvoran

#endif
