/// The exit statuses of the probe, which its host reads.
#ifndef KELVORAN_EXIT_STATUS_H
#define KELVORAN_EXIT_STATUS_H

namespace kelvoran {

/// The run completed and its document was printed.
inline constexpr int kExitCompleted = 0;
/// The RFC library's failure report: no document.
inline constexpr int kExitRfcFailure = 1;
/// A numbered error: its error document was printed.
inline constexpr int kExitError = 2;

}  // namespace kelvoran

#endif
