/// SAP's NetWeaver RFC SDK (7.50), as the probe calls it: the one place where the records and
/// operations of that library are declared for the probe.
///
/// The probe makes its calls through its table of the library's operations
/// (nwrfc_operations.h): on the monitor's host they are SAP's sapnwrfc.dll's (libsapnwrfc.so on
/// Linux), on our machines the simulated library's in simnwrfc/, which declares the same API
/// itself. The
/// layouts below are SAP's; the checks after them fail to compile if an edit moves a member.
#ifndef KELVORAN_RFC_NWRFC_NWRFC_LIBRARY_H
#define KELVORAN_RFC_NWRFC_NWRFC_LIBRARY_H

#include <cstddef>

/// The SDK's calls are __stdcall where Windows has more than one convention (32-bit); SAP
/// ships the SDK for 64-bit Windows, where there is one.
#if defined(_WIN32) && !defined(_WIN64)
#define NWRFC_CALL __stdcall
#else
#define NWRFC_CALL
#endif

extern "C" {

/// One UTF-16 code unit in the platform's byte order: wchar_t on Windows, char16_t elsewhere.
#if defined(_WIN32)
typedef wchar_t SapChar;
#else
typedef char16_t SapChar;
#endif

/// Return codes (RFC_RC) the probe tells apart; every other value is another failure.
enum NwReturnCode {
  NW_OK = 0,
  NW_COMMUNICATION_FAILURE = 1,
  NW_LOGON_FAILURE = 2,
  NW_ABAP_RUNTIME_FAILURE = 3,
  NW_ABAP_MESSAGE = 4,
  NW_ABAP_EXCEPTION = 5,
  NW_EXTERNAL_FAILURE = 15,
  NW_BUFFER_TOO_SMALL = 23
};

/// The error record every call fills (RFC_ERROR_INFO): code and group are enums of 4 bytes.
typedef struct NwErrorInfo {
  int code;
  int group;
  SapChar key[128];
  SapChar message[512];
  SapChar abapMsgClass[21];
  SapChar abapMsgType[2];
  SapChar abapMsgNumber[4];
  SapChar abapMsgV1[51];
  SapChar abapMsgV2[51];
  SapChar abapMsgV3[51];
  SapChar abapMsgV4[51];
} NwErrorInfo;

/// One connection parameter (RFC_CONNECTION_PARAMETER): its name ("ashost") and value.
typedef struct NwConnectionParameter {
  const SapChar* name;
  const SapChar* value;
} NwConnectionParameter;

/// Handles: pointers to opaque records of the library, null on failure. A function, its
/// structures and tables are all data containers.
typedef struct NwConnection* NwConnectionHandle;
typedef struct NwFunctionDescription* NwFunctionDescHandle;
typedef struct NwDataContainer* NwDataHandle;

/* The operations, as the types of their functions: <operation>Function. */
typedef NwConnectionHandle NWRFC_CALL RfcOpenConnectionFunction(
    const NwConnectionParameter* connectionParams, unsigned paramCount, NwErrorInfo* errorInfo);
typedef int NWRFC_CALL RfcCloseConnectionFunction(NwConnectionHandle connection,
                                                  NwErrorInfo* errorInfo);
typedef NwFunctionDescHandle NWRFC_CALL RfcGetFunctionDescFunction(NwConnectionHandle connection,
                                                                   const SapChar* funcName,
                                                                   NwErrorInfo* errorInfo);
typedef NwDataHandle NWRFC_CALL RfcCreateFunctionFunction(NwFunctionDescHandle funcDesc,
                                                          NwErrorInfo* errorInfo);
typedef int NWRFC_CALL RfcDestroyFunctionFunction(NwDataHandle function, NwErrorInfo* errorInfo);
typedef int NWRFC_CALL RfcInvokeFunction(NwConnectionHandle connection, NwDataHandle function,
                                         NwErrorInfo* errorInfo);
typedef int NWRFC_CALL RfcGetStructureFunction(NwDataHandle container, const SapChar* name,
                                               NwDataHandle* structure, NwErrorInfo* errorInfo);
typedef int NWRFC_CALL RfcGetCharsFunction(NwDataHandle container, const SapChar* name,
                                           SapChar* charBuffer, unsigned bufferLength,
                                           NwErrorInfo* errorInfo);
typedef int NWRFC_CALL RfcGetIntFunction(NwDataHandle container, const SapChar* name, int* value,
                                         NwErrorInfo* errorInfo);
typedef int NWRFC_CALL RfcSetIniPathFunction(const SapChar* pathName, NwErrorInfo* errorInfo);
typedef int NWRFC_CALL RfcGetStringFunction(NwDataHandle container, const SapChar* name,
                                            SapChar* stringBuffer, unsigned bufferLength,
                                            unsigned* stringLength, NwErrorInfo* errorInfo);

}  // extern "C"

// SAP's layout, identical on 64-bit Windows and 64-bit Linux.
namespace kelvoran::nwrfc_layout {
static_assert(sizeof(SapChar) == 2, "SAP_UC is one UTF-16 code unit");
static_assert(sizeof(NwErrorInfo) == 1752, "RFC_ERROR_INFO");
static_assert(offsetof(NwErrorInfo, group) == 4, "RFC_ERROR_INFO.group");
static_assert(offsetof(NwErrorInfo, key) == 8, "RFC_ERROR_INFO.key");
static_assert(offsetof(NwErrorInfo, message) == 264, "RFC_ERROR_INFO.message");
static_assert(offsetof(NwErrorInfo, abapMsgClass) == 1288, "RFC_ERROR_INFO.abapMsgClass");
static_assert(offsetof(NwErrorInfo, abapMsgType) == 1330, "RFC_ERROR_INFO.abapMsgType");
static_assert(offsetof(NwErrorInfo, abapMsgNumber) == 1334, "RFC_ERROR_INFO.abapMsgNumber");
static_assert(offsetof(NwErrorInfo, abapMsgV1) == 1342, "RFC_ERROR_INFO.abapMsgV1");
static_assert(offsetof(NwErrorInfo, abapMsgV2) == 1444, "RFC_ERROR_INFO.abapMsgV2");
static_assert(offsetof(NwErrorInfo, abapMsgV3) == 1546, "RFC_ERROR_INFO.abapMsgV3");
static_assert(offsetof(NwErrorInfo, abapMsgV4) == 1648, "RFC_ERROR_INFO.abapMsgV4");
static_assert(sizeof(void*) != 8 || sizeof(NwConnectionParameter) == 16,
              "RFC_CONNECTION_PARAMETER");
static_assert(sizeof(void*) != 8 || offsetof(NwConnectionParameter, value) == 8,
              "RFC_CONNECTION_PARAMETER.value");
}  // namespace kelvoran::nwrfc_layout

#endif
