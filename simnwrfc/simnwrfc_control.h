/// Control of the simulated NW RFC library for in-process tests; the probe never includes it.
/// It declares none of the library's RFC records, so a test may include it beside either
/// side's declarations.
///
/// The library keeps its state (landscape, connections, functions) for the whole process.
/// Tests reset it before and after use and point it at files of their own instead of the
/// working directory.
#ifndef KELVORAN_SIMNWRFC_SIMNWRFC_CONTROL_H
#define KELVORAN_SIMNWRFC_SIMNWRFC_CONTROL_H

#include <ctime>
#include <string>

/// Forgets everything: landscape, connections, function descriptions and functions, the
/// directories and the fixed time.
void SimNwRfcReset();

/// Reads "Landscape.ini" and "sapnwrfc.ini" in `directory` instead of the working directory;
/// an empty or null `directory` means the working directory. Either way SIMRFC_LANDSCAPE is
/// then not consulted. RfcSetIniPath still takes sapnwrfc.ini elsewhere.
void SimNwRfcSetDirectory(const char* directory);

/// Takes the landscape from `text` instead of its file, closing every open connection. False,
/// with the reason in `error` when one is given, when the text is malformed.
bool SimNwRfcLoadLandscapeText(const char* text, std::string* error = nullptr);

/// Uses `time` as the local time from now on (default dates and times of the answers).
void SimNwRfcFixLocalTime(const std::tm& time);

#endif
