/// What the probe keeps of SAP's classic RFC library for the whole process: its table of
/// operations, the connection records handed to it and the installed structure types.
#ifndef KELVORAN_RFC_CLASSIC_LIBRARY_STATE_H
#define KELVORAN_RFC_CLASSIC_LIBRARY_STATE_H

#include "rfc/classic/rfc_library.h"
#include "rfc/classic/rfc_operations.h"
#include "rfc/library_loading.h"
#include "rfc/rfc_state.h"

namespace kelvoran {

struct RunContext;

struct LibraryState {
  /// The library where it is loaded while the probe runs, and its operations.
  SapLibrary sap;
  RfcOperations operations;
  ConnectionOptions options{};
  GatewayParameters gateway{};
  /// Keeps its system number between connections when a profile has none.
  ServerParameters server{};
  RfcOpenErrorInfo openError{};
  RfcEnvironmentRecord environment{};
  RfcHandle lastOpened = 0;
  /// Structure types, installed on first use and kept for the process; 0 until then.
  RfcTypeHandle systemInfoType = 0;
  RfcTypeHandle db4InfoType = 0;
  RfcTypeHandle missingObjectType = 0;
};

/// The run's library state.
LibraryState& ClassicState(RunContext& ctx);
/// The run's table of the library's operations.
const RfcOperations& Rfc(RunContext& ctx);

}  // namespace kelvoran

#endif
