/// The number the operating system gives the running process, unique among the processes
/// running at the same time: it names files that belong to this process alone.
#ifndef KELVORAN_PLATFORM_PROCESS_ID_H
#define KELVORAN_PLATFORM_PROCESS_ID_H

namespace kelvoran {

unsigned long CurrentProcessId();

}  // namespace kelvoran

#endif
