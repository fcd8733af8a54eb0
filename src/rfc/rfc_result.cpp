#include "rfc/rfc_result.h"

#include "rfc/rfc_library.h"

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

}  // namespace kelvoran
