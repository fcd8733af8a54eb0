/// An error of the library as RfcLastError and RfcOpenEx report it and the trace file records it.
#ifndef KELVORAN_SIMRFC_LIBRARY_ERROR_H
#define KELVORAN_SIMRFC_LIBRARY_ERROR_H

#include <string>
#include <vector>

namespace simrfc {

/// Error groups, reported by RfcOpenEx in its error information.
enum class ErrorGroup : int {
  Program = 101,        // the caller used the library wrongly, or its files are wrong
  Communication = 102,  // the partner was not reached or the connection broke
  Logon = 103,
  SystemFailure = 104,
  ApplicationException = 105,
  Resource = 106,
};

struct LibraryError {
  ErrorGroup group = ErrorGroup::Program;
  std::string key;  // RFC_ERROR_... after the group, unless a landscape replaces it
  std::string status;
  std::string message;
  std::string internalStatus;
  /// Further lines for the trace file only, written before the message.
  std::vector<std::string> details;
  /// The failure leaves no entry in the trace file (a landscape's FAIL_TRACE).
  bool untraced = false;
};

const char* GroupKey(ErrorGroup group);

LibraryError MakeError(ErrorGroup group, std::string status, std::string message,
                       std::vector<std::string> details = {});

}  // namespace simrfc

#endif
