/// The numbered messages for the result codes of an RFC call.
#ifndef KELVORAN_RFC_CLASSIC_RFC_RESULT_H
#define KELVORAN_RFC_CLASSIC_RFC_RESULT_H

#include <string>
#include <string_view>

namespace kelvoran {

/// "Error 1014: RFC-Failure raised !" for 1, "Error 1012: Exception.: " + the exception name
/// for 2, "Error 1013: Sys-Exception raised !" for 3, "Error 1015: Other Failure raised !" for
/// any other failure. Empty for 0.
std::string RfcResultMessage(int result, std::string_view exception);

/// For results 2 and 3, copies the exception name the library handed back into
/// `exceptionText`, a buffer of 256 bytes (cut to fit).
void CopyExceptionName(int result, const char* exception, char* exceptionText);

}  // namespace kelvoran

#endif
