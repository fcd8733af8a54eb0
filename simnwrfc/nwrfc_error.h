/// The errors of the library as its callers see them in RFC_ERROR_INFO.
#ifndef KELVORAN_SIMNWRFC_NWRFC_ERROR_H
#define KELVORAN_SIMNWRFC_NWRFC_ERROR_H

#include <string>

#include "nwrfc_declarations.h"
#include "simsap/landscape.h"

namespace simnwrfc {

/// An error record's contents; texts are landscape bytes (UTF-8, else Latin-1).
struct NwError {
  RFC_RC code = RFC_OK;
  RFC_ERROR_GROUP group = OK;
  std::string key, message;
  std::string abapMsgClass, abapMsgType, abapMsgNumber, abapMsgV1;
};

/// The name of return code `code` ("RFC_INVALID_HANDLE"), or null for a code SAP does not have.
const char* RcName(int code);

/// An error the library raises itself: group EXTERNAL_RUNTIME_FAILURE, the code's name as key.
NwError OwnError(RFC_RC code, std::string message);
/// RFC_INVALID_HANDLE for a handle of the type `handleType` names.
NwError InvalidHandle(const char* handleType);
/// RFC_INVALID_PARAMETER for the argument `parameter` ("unsigned paramCount").
NwError InvalidArgument(const char* parameter);

/// `error` with the key and message that `system`'s landscape entry gives for its injected
/// faults (ERROR_KEY, ERROR_MESSAGE).
NwError Injected(const simsap::SystemEntry& system, NwError error);

/// Writes `error` into `info` (when there is one): code, group, key, message and the ABAP
/// message fields, each cut to its field.
void Report(RFC_ERROR_INFO* info, const NwError& error);
/// Success: the whole record zeroed, code RFC_OK.
void ReportSuccess(RFC_ERROR_INFO* info);

}  // namespace simnwrfc

#endif
