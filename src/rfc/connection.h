/// Opening the RFC connection to the system that the current profile describes.
#ifndef KELVORAN_RFC_CONNECTION_H
#define KELVORAN_RFC_CONNECTION_H

#include <string>

#include "rfc/rfc_library.h"
#include "rfc/temporary_ini.h"

namespace kelvoran {

struct RunContext;

/// The library's configuration file, which RfcOpenEx reads its destinations from.
inline constexpr const char* kRfcIniName = "SapRfc.ini";
/// Prefix of the per-destination configuration files ("SapRfc.PRD").
inline constexpr const char* kDestinationIniPrefix = "SapRfc.";

/// Opens a connection and returns its handle, 0 when it could not be opened.
///
/// With a file "SapRfc." + destination in the working directory, that file replaces
/// "SapRfc.ini" and the connection is opened by destination (RfcOpenEx with the connect
/// string); otherwise directly from the profile's host and system number, or gateway in R/2
/// mode (RfcOpen). ",HOST=" and ",NO=" in the options override host and system number.
///
/// On the destination route the folder's SapRfc.ini lock is held from before the copy is put
/// in place until RfcOpenEx has returned, so the library reads this probe's copy and no other
/// probe's; the direct route takes no lock.
RfcHandle OpenConnection(RunContext& ctx);

/// The connect string of the destination route; the language is always D, and a value that
/// holds a blank is set in double quotes.
std::string BuildConnectString(const RunContext& ctx);

/// Closes the current connection, if one is open.
void CloseConnection(RunContext& ctx);

}  // namespace kelvoran

#endif
