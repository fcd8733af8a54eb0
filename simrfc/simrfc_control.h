/// Control of the simulated RFC library for in-process tests; the probe never includes it. It
/// declares none of the library's RFC records, so a test may include it beside either side's.
///
/// The library keeps its state (landscape, connections, structures, tables, error handler,
/// last error) for the whole process. Tests reset it before and after use and point it at
/// files of their own instead of the working directory.
#ifndef KELVORAN_SIMRFC_SIMRFC_CONTROL_H
#define KELVORAN_SIMRFC_SIMRFC_CONTROL_H

#include <ctime>
#include <string>
#include <vector>

/// Forgets everything: landscape, connections, structures, tables, error handler, last error,
/// directory and fixed time.
void SimRfcReset();

/// Reads "Landscape.ini", "SapRfc.ini" and writes "Dev_Rfc.Trc" in `directory` instead of the
/// working directory; an empty or null `directory` means the working directory. Either way
/// SIMRFC_LANDSCAPE is then not consulted.
void SimRfcSetDirectory(const char* directory);

/// Takes the landscape from `text` instead of its file, closing every open connection. False
/// when the text is malformed; RfcLastError then tells why (the file name in the message is
/// "Landscape.ini").
bool SimRfcLoadLandscapeText(const char* text);

/// Uses `time` as the local time from now on (trace entries, default dates and times).
void SimRfcFixLocalTime(const std::tm& time);

/// The rows of an internal table, each its row length long; empty for an unknown handle.
std::vector<std::string> SimRfcTableRows(void* table);

/// The message of the library's last error (what RfcLastError would give), or "".
std::string SimRfcLastErrorMessage();

#endif
