// The exported operations of SAP's NW RFC library, with SAP's declarations: each hands its
// work to the library's context and reports the outcome in the caller's error record.
#include <map>
#include <string>

#include "connections.h"
#include "fields.h"
#include "functions.h"
#include "library.h"
#include "nwrfc_declarations.h"
#include "nwrfc_error.h"
#include "sap_text.h"

using simnwrfc::NwError;
using simnwrfc::TheLibrary;

namespace {

RFC_RC Finish(RFC_RC rc, const NwError& error, RFC_ERROR_INFO* errorInfo) {
  if (rc == RFC_OK) {
    simnwrfc::ReportSuccess(errorInfo);
  } else {
    simnwrfc::Report(errorInfo, error);
  }
  return rc;
}

template <typename Handle>
Handle FinishHandle(Handle handle, const NwError& error, RFC_ERROR_INFO* errorInfo) {
  Finish(handle != nullptr ? RFC_OK : error.code, error, errorInfo);
  return handle;
}

}  // namespace

extern "C" {

RFC_CONNECTION_HANDLE SAP_API RfcOpenConnection(RFC_CONNECTION_PARAMETER const* connectionParams,
                                                unsigned paramCount, RFC_ERROR_INFO* errorInfo) {
  NwError error;
  return FinishHandle(
      simnwrfc::OpenConnection(TheLibrary(), connectionParams, paramCount, error), error,
      errorInfo);
}

RFC_RC SAP_API RfcCloseConnection(RFC_CONNECTION_HANDLE rfcHandle, RFC_ERROR_INFO* errorInfo) {
  NwError error;
  return Finish(simnwrfc::CloseConnection(TheLibrary(), rfcHandle, error), error, errorInfo);
}

RFC_FUNCTION_DESC_HANDLE SAP_API RfcGetFunctionDesc(RFC_CONNECTION_HANDLE rfcHandle,
                                                    const SAP_UC* funcName,
                                                    RFC_ERROR_INFO* errorInfo) {
  NwError error;
  return FinishHandle(simnwrfc::GetFunctionDesc(TheLibrary(), rfcHandle, funcName, error), error,
                      errorInfo);
}

RFC_FUNCTION_HANDLE SAP_API RfcCreateFunction(RFC_FUNCTION_DESC_HANDLE funcDescHandle,
                                              RFC_ERROR_INFO* errorInfo) {
  NwError error;
  return FinishHandle(simnwrfc::CreateFunction(TheLibrary(), funcDescHandle, error), error,
                      errorInfo);
}

RFC_RC SAP_API RfcDestroyFunction(RFC_FUNCTION_HANDLE funcHandle, RFC_ERROR_INFO* errorInfo) {
  NwError error;
  return Finish(simnwrfc::DestroyFunction(TheLibrary(), funcHandle, error), error, errorInfo);
}

RFC_RC SAP_API RfcInvoke(RFC_CONNECTION_HANDLE rfcHandle, RFC_FUNCTION_HANDLE funcHandle,
                         RFC_ERROR_INFO* errorInfo) {
  NwError error;
  return Finish(simnwrfc::Invoke(TheLibrary(), rfcHandle, funcHandle, error), error, errorInfo);
}

RFC_RC SAP_API RfcGetStructure(DATA_CONTAINER_HANDLE dataHandle, const SAP_UC* name,
                               RFC_STRUCTURE_HANDLE* structHandle, RFC_ERROR_INFO* errorInfo) {
  NwError error;
  return Finish(simnwrfc::GetStructure(TheLibrary(), dataHandle, name, structHandle, error), error,
                errorInfo);
}

RFC_RC SAP_API RfcGetChars(DATA_CONTAINER_HANDLE dataHandle, const SAP_UC* name,
                           RFC_CHAR* charBuffer, unsigned bufferLength,
                           RFC_ERROR_INFO* errorInfo) {
  NwError error;
  return Finish(
      simnwrfc::GetChars(TheLibrary(), dataHandle, name, charBuffer, bufferLength, error), error,
      errorInfo);
}

RFC_RC SAP_API RfcGetInt(DATA_CONTAINER_HANDLE dataHandle, const SAP_UC* name, RFC_INT* value,
                         RFC_ERROR_INFO* errorInfo) {
  NwError error;
  return Finish(simnwrfc::GetInt(TheLibrary(), dataHandle, name, value, error), error, errorInfo);
}

RFC_RC SAP_API RfcGetString(DATA_CONTAINER_HANDLE dataHandle, const SAP_UC* name,
                            SAP_UC* stringBuffer, unsigned bufferLength, unsigned* stringLength,
                            RFC_ERROR_INFO* errorInfo) {
  NwError error;
  return Finish(simnwrfc::GetString(TheLibrary(), dataHandle, name, stringBuffer, bufferLength,
                                    stringLength, error),
                error, errorInfo);
}

RFC_RC SAP_API RfcSetIniPath(const SAP_UC* pathName, RFC_ERROR_INFO* errorInfo) {
  if (pathName == nullptr) {
    return Finish(RFC_INVALID_PARAMETER, simnwrfc::InvalidArgument("const SAP_UC* pathName"),
                  errorInfo);
  }
  TheLibrary().SetIniDirectory(simnwrfc::Narrow(simnwrfc::FromSap(pathName)));
  return Finish(RFC_OK, NwError(), errorInfo);
}

const SAP_UC* SAP_API RfcGetRcAsString(RFC_RC rc) {
  // Texts that live as long as the process: built once per code asked for.
  static std::map<int, std::basic_string<SAP_UC>> names;
  auto found = names.find(rc);
  if (found == names.end()) {
    const char* name = simnwrfc::RcName(rc);
    const std::string text = name != nullptr ? name : "RFC_UNKNOWN_ERROR";
    found = names.emplace(rc, std::basic_string<SAP_UC>(text.begin(), text.end())).first;
  }
  return found->second.c_str();
}

}  // extern "C"
