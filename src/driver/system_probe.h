/// The child's side of a global run with "PARALLEL=n": a probe started by the run with the
/// internal argument below, which reads its request from standard input, measures that one
/// system as the run in turn measures each of its systems and reports to the run on standard
/// output (src/driver/system_pipe.h). Not for use by hand.
#ifndef KELVORAN_DRIVER_SYSTEM_PROBE_H
#define KELVORAN_DRIVER_SYSTEM_PROBE_H

namespace kelvoran {

class Clock;
class FileSystem;
class FolderLock;

/// The one argument of a child's invocation.
inline constexpr const char* kSystemProbeArgument = "--measure-system";

bool IsSystemProbeInvocation(int argc, const char* const* argv);

/// Runs the child: returns 0 after a verdict, 2 after a fatal message or a request it could
/// not read. The RFC library's failure report ends it with 1 on the spot.
int RunSystemProbe(FileSystem& files, Clock& clock, FolderLock& folderLock);

}  // namespace kelvoran

#endif
