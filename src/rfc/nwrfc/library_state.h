/// What the probe keeps of the NW RFC library for the whole process: its table of operations,
/// the open connection, the parameters handed to it, and the error record of the last failed
/// step.
#ifndef KELVORAN_RFC_NWRFC_LIBRARY_STATE_H
#define KELVORAN_RFC_NWRFC_LIBRARY_STATE_H

#include <string>
#include <vector>

#include "rfc/library_loading.h"
#include "rfc/nwrfc/nwrfc_library.h"
#include "rfc/nwrfc/nwrfc_operations.h"
#include "rfc/nwrfc/sap_text.h"
#include "rfc/rfc_state.h"

namespace kelvoran {

struct RunContext;

struct LibraryState {
  /// The library where it is loaded while the probe runs, and its operations.
  SapLibrary sap;
  NwOperations operations;
  /// The open connection, null when none; the run knows it by `number`.
  NwConnectionHandle connection = nullptr;
  /// How many connections this process has opened: the number the run and its log lines
  /// give the open one.
  unsigned opened = 0;
  /// The parameters of the last open, and the texts they point at.
  std::vector<SapText> parameterTexts;
  std::vector<NwConnectionParameter> parameters;
  /// The system number sent last: a profile without one keeps it, as the classic route does.
  std::string systemNumber = "00";
  /// The error record of the last failed step; its message explains the failure.
  NwErrorInfo lastError{};
};

/// The run's library state.
LibraryState& NwState(RunContext& ctx);

/// The text of a field of an error record.
template <std::size_t N>
std::string ErrorText(const SapChar (&field)[N]) {
  return FromSapText(field, N, HostCodePage());
}

}  // namespace kelvoran

#endif
