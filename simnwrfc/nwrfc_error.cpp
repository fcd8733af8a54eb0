#include "nwrfc_error.h"

#include <cstring>

#include "sap_text.h"

namespace simnwrfc {

namespace {

const char* const kRcNames[] = {"RFC_OK",
                                "RFC_COMMUNICATION_FAILURE",
                                "RFC_LOGON_FAILURE",
                                "RFC_ABAP_RUNTIME_FAILURE",
                                "RFC_ABAP_MESSAGE",
                                "RFC_ABAP_EXCEPTION",
                                "RFC_CLOSED",
                                "RFC_CANCELED",
                                "RFC_TIMEOUT",
                                "RFC_MEMORY_INSUFFICIENT",
                                "RFC_VERSION_MISMATCH",
                                "RFC_INVALID_PROTOCOL",
                                "RFC_SERIALIZATION_FAILURE",
                                "RFC_INVALID_HANDLE",
                                "RFC_RETRY",
                                "RFC_EXTERNAL_FAILURE",
                                "RFC_EXECUTED",
                                "RFC_NOT_FOUND",
                                "RFC_NOT_SUPPORTED",
                                "RFC_ILLEGAL_STATE",
                                "RFC_INVALID_PARAMETER",
                                "RFC_CODEPAGE_CONVERSION_FAILURE",
                                "RFC_CONVERSION_FAILURE",
                                "RFC_BUFFER_TOO_SMALL",
                                "RFC_TABLE_MOVE_BOF",
                                "RFC_TABLE_MOVE_EOF",
                                "RFC_START_SAPGUI_FAILURE",
                                "RFC_ABAP_CLASS_EXCEPTION",
                                "RFC_UNKNOWN_ERROR",
                                "RFC_AUTHORIZATION_FAILURE",
                                "RFC_AUTHENTICATION_FAILURE",
                                "RFC_CRYPTOLIB_FAILURE",
                                "RFC_IO_FAILURE"};

template <std::size_t N>
void Put(SAP_UC (&field)[N], const std::string& text) {
  CopyToSap(field, N, Widen(text));
}

}  // namespace

const char* RcName(int code) {
  if (code < 0 || code >= static_cast<int>(sizeof kRcNames / sizeof kRcNames[0])) return nullptr;
  return kRcNames[code];
}

NwError OwnError(RFC_RC code, std::string message) {
  NwError error;
  error.code = code;
  error.group = EXTERNAL_RUNTIME_FAILURE;
  const char* name = RcName(code);
  error.key = name != nullptr ? name : "RFC_UNKNOWN_ERROR";
  error.message = std::move(message);
  return error;
}

NwError InvalidHandle(const char* handleType) {
  return OwnError(RFC_INVALID_HANDLE, std::string("An invalid handle '") + handleType +
                                          "' was passed to the API call");
}

NwError InvalidArgument(const char* parameter) {
  return OwnError(RFC_INVALID_PARAMETER, std::string("Invalid parameter '") + parameter +
                                             "' was passed to the API call");
}

NwError Injected(const simsap::SystemEntry& system, NwError error) {
  if (system.errorTexts.key) error.key = *system.errorTexts.key;
  if (system.errorTexts.message) error.message = *system.errorTexts.message;
  return error;
}

void Report(RFC_ERROR_INFO* info, const NwError& error) {
  if (info == nullptr) return;
  std::memset(info, 0, sizeof *info);
  info->code = error.code;
  info->group = error.group;
  Put(info->key, error.key);
  Put(info->message, error.message);
  Put(info->abapMsgClass, error.abapMsgClass);
  Put(info->abapMsgType, error.abapMsgType);
  Put(info->abapMsgNumber, error.abapMsgNumber);
  Put(info->abapMsgV1, error.abapMsgV1);
}

void ReportSuccess(RFC_ERROR_INFO* info) {
  if (info == nullptr) return;
  std::memset(info, 0, sizeof *info);
  info->code = RFC_OK;
}

}  // namespace simnwrfc
