#include "rfc/classic/rfc_result.h"

#include <cstring>

#include "rfc/classic/rfc_library.h"
#include "rfc/classic/system_info_call.h"

namespace kelvoran {

std::string RfcResultMessage(int result, std::string_view exception) {
  switch (result) {
    case RFC_OK: return "";
    case RFC_FAILURE: return "Error 1014: RFC-Failure raised !";
    case RFC_EXCEPTION: return "Error 1012: Exception.: " + std::string(exception);
    case RFC_SYS_EXCEPTION: return "Error 1013: Sys-Exception raised !";
    default: return "Error 1015: Other Failure raised !";
  }
}

void CopyExceptionName(int result, const char* exception, char* exceptionText) {
  if ((result != RFC_EXCEPTION && result != RFC_SYS_EXCEPTION) || exceptionText == nullptr) return;
  exceptionText[0] = '\0';
  if (exception != nullptr) std::strncat(exceptionText, exception, kExceptionTextSize - 1);
}

}  // namespace kelvoran
