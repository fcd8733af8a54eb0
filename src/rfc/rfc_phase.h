/// The RFC phase of a probe, and the trace file that every probe of the working directory
/// shares.
///
/// A probe is in its RFC phase from installing the RFC environment until its last trace scan
/// is done (in practice, until it ends): in that time the library may append its failure to
/// "Dev_Rfc.Trc" and the probe may still have to read it. A successful run deletes the file
/// only when no other probe of the folder is in its RFC phase, so a failing run always finds
/// the entry it explains.
#ifndef KELVORAN_RFC_RFC_PHASE_H
#define KELVORAN_RFC_RFC_PHASE_H

namespace kelvoran {

struct RunContext;

/// Enters the RFC phase: a shared hold of the folder's RFC phase lock, which waits only while
/// another probe is deleting the trace file. Calling it again changes nothing.
void EnterRfcPhase(RunContext& ctx);

/// Ends the RFC phase and deletes the trace file (a missing one is no error) when no other
/// probe of the folder is in its RFC phase; otherwise the file stays for that probe's scan and
/// a later successful run deletes it. Never waits. Without a usable lock file the probe counts
/// as alone in its folder and deletes the file.
void RemoveTraceFileUnlessInUse(RunContext& ctx);

}  // namespace kelvoran

#endif
