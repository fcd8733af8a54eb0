/// Opening the RFC connection to the system that the current profile describes, whichever SAP
/// library the probe is built with (src/rfc/classic/ or src/rfc/nwrfc/ implements it).
#ifndef KELVORAN_RFC_CONNECTION_H
#define KELVORAN_RFC_CONNECTION_H

namespace kelvoran {

struct RunContext;

/// Prefix of the per-destination configuration files ("SapRfc.PRD").
inline constexpr const char* kDestinationIniPrefix = "SapRfc.";

/// A connection as the run knows it: 0 is none. With the classic library it is the library's
/// own handle; otherwise the probe's number for it.
using ConnectionHandle = unsigned;

/// Opens a connection and returns its handle, 0 when it could not be opened.
///
/// With a file "SapRfc." + destination in the working directory, the connection is opened by
/// destination through the library's configuration file, which that file (or its translation)
/// replaces; otherwise directly from the profile's host and system number, or gateway in R/2
/// mode. ",HOST=" and ",NO=" in the options override host and system number.
///
/// On the destination route the folder's SapRfc.ini lock is held from before the library's
/// file is put in place until the library has opened, so the library reads this probe's file
/// and no other probe's; the direct route takes no lock.
ConnectionHandle OpenConnection(RunContext& ctx);

/// Appends why the last `OpenConnection` failed to the output buffer, after Error 1011's
/// message: " - " and what kept the probe from asking the library, or else the library's own
/// explanation, as for a failed step (see library_steps.h).
void ExplainFailedOpen(RunContext& ctx);

/// Closes the current connection, if one is open.
void CloseConnection(RunContext& ctx);

}  // namespace kelvoran

#endif
