/// What a probe puts right about the state its starter handed it, before anything else.
///
/// A monitor may start the probe with a standard stream closed or, on POSIX systems, with
/// SIGCHLD ignored. A closed stream's number would be taken by the next file or pipe the probe
/// opens (a pipe meant for a system probe would then be closed in that probe as it starts), and
/// with SIGCHLD ignored the system reaps the probe's children itself, so that their exit
/// statuses (the RFC library's failure report among them) are lost.
#ifndef KELVORAN_PLATFORM_PROCESS_START_H
#define KELVORAN_PLATFORM_PROCESS_START_H

namespace kelvoran {

/// Opens each closed standard stream on the null device and, on POSIX systems, gives SIGCHLD
/// its default action back.
void SettleProcessStart();

}  // namespace kelvoran

#endif
