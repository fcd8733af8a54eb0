/// What the two ways of opening a connection share, whichever SAP library is linked: the
/// connection's copies of the profile fields, the per-destination file, and putting the
/// library's configuration file in place under the folder's SapRfc.ini lock.
#ifndef KELVORAN_RFC_CONNECTION_ROUTE_H
#define KELVORAN_RFC_CONNECTION_ROUTE_H

#include <cstdio>
#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "rfc/connection.h"

namespace kelvoran {

class FolderLock;
struct RunContext;

/// `value` without its trailing blanks. SAP's library reads a value up to its first blank, so
/// blanks at the end of a profile value were never part of what it was asked for.
std::string WithoutTrailingBlanks(std::string_view value);

/// Copies the profile's connection fields into `ctx.rfc.copies`, each without its trailing
/// blanks (the mode as it stands: only exactly "R/2" means R/2); ",HOST=" and ",NO=" in the
/// options replace host and system number (the value up to the next blank or comma).
void CopyConnectionFields(RunContext& ctx);

/// `text` padded on the right with blanks to `width`; a longer text stays as it is.
void PadRight(std::string& text, std::size_t width);

/// The system number as its leading digits read it ("00" is 0, "7a" is 7, "x" is 0), the way
/// the C library's atoi does, but bounded instead of overflowing.
int LeadingNumber(std::string_view text);

/// The per-destination file of the destination the library is asked for ("SapRfc." + the
/// destination's copy, without trailing blanks, as Windows names that file anyway), open for
/// reading, or null when there is none: the connection then opens directly. Called after
/// `CopyConnectionFields`.
FilePtr OpenDestinationFile(RunContext& ctx, std::string& name);

/// Gives up opening before the library is asked: keeps `reason` for Error 1011 and returns the
/// handle 0.
ConnectionHandle GiveUpOpen(RunContext& ctx, std::string reason);

/// Announces the per-destination route: "* SapRfc.Ini.......: <destination><", on standard
/// output, or in an XML flavour on standard error (unless console lines are on), where it
/// cannot break the document the host parses.
void AnnounceDestinationRoute(RunContext& ctx);

/// Replaces the library's configuration file `target` with `content` (or with a byte-for-byte
/// copy of `source`), so that no reader ever sees it half written: it goes to this process's
/// own file beside it, which is then renamed over it. False when it could not be put in place;
/// the copy is removed on every path.
bool ReplaceLibraryFile(RunContext& ctx, std::FILE* source, const char* target);
bool ReplaceLibraryFile(RunContext& ctx, std::string_view content, const char* target);

/// The step a probe is in while it waits for the folder's SapRfc.ini lock.
inline constexpr const char* kWaitingForSapRfcIni = "waiting for SapRfc.ini";

/// The folder's SapRfc.ini lock, held for the life of this object. Where the lock file cannot
/// be used the probe goes on unguarded, as a probe alone in its folder needs no lock.
class SapRfcIniLock {
 public:
  explicit SapRfcIniLock(RunContext& ctx);
  ~SapRfcIniLock();
  SapRfcIniLock(const SapRfcIniLock&) = delete;
  SapRfcIniLock& operator=(const SapRfcIniLock&) = delete;

 private:
  FolderLock* lock_;
};

}  // namespace kelvoran

#endif
