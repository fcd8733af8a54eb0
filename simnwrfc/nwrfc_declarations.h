/// SAP's NetWeaver RFC library (NW RFC SDK 7.50) as SAP declares it: the types, codes, records
/// and operations this stand-in exports, with SAP's names and SAP's layout.
///
/// The stand-in is compiled from these declarations only, never from the probe's: SAP's
/// sapnwrfc.dll was compiled from SAP's header, not from ours, so where the probe's records
/// disagree with SAP's, the probe's tests against this library fail.
#ifndef KELVORAN_SIMNWRFC_NWRFC_DECLARATIONS_H
#define KELVORAN_SIMNWRFC_NWRFC_DECLARATIONS_H

#include <cstddef>

/// Every operation is __stdcall on 32-bit Windows (SAP ships no 32-bit 7.50 library); on
/// 64-bit Windows there is one calling convention and the exports have plain names.
#if defined(_WIN32) && !defined(_WIN64)
#define SAP_API __stdcall
#else
#define SAP_API
#endif

/// Exports are listed in simnwrfc/sapnwrfc.def for the DLL; nothing else marks them.
#define DECL_EXP

/// A UTF-16 code unit in the platform's byte order: wchar_t on Windows, char16_t elsewhere.
#if defined(_WIN32)
typedef wchar_t SAP_UC;
#else
typedef char16_t SAP_UC;
#endif

extern "C" {

typedef unsigned char SAP_RAW;
typedef SAP_UC RFC_CHAR;
typedef SAP_UC RFC_NUM;
typedef SAP_RAW RFC_BYTE;
typedef SAP_RAW RFC_BCD;
typedef SAP_RAW RFC_INT1;
typedef short RFC_INT2;
typedef int RFC_INT;
typedef long long RFC_INT8;
typedef double RFC_FLOAT;
typedef RFC_CHAR RFC_DATE[8];  // YYYYMMDD
typedef RFC_CHAR RFC_TIME[6];  // HHMMSS
typedef RFC_CHAR RFC_ABAP_NAME[30 + 1];

/// The return codes. SAP's enumeration has no fixed underlying type; four bytes all the same.
/// It is given `int` here so that the library may return any code a landscape asks for
/// without holding a value its enumeration does not have.
typedef enum _RFC_RC : int {
  RFC_OK,
  RFC_COMMUNICATION_FAILURE,
  RFC_LOGON_FAILURE,
  RFC_ABAP_RUNTIME_FAILURE,
  RFC_ABAP_MESSAGE,
  RFC_ABAP_EXCEPTION,
  RFC_CLOSED,
  RFC_CANCELED,
  RFC_TIMEOUT,
  RFC_MEMORY_INSUFFICIENT,
  RFC_VERSION_MISMATCH,
  RFC_INVALID_PROTOCOL,
  RFC_SERIALIZATION_FAILURE,
  RFC_INVALID_HANDLE,
  RFC_RETRY,
  RFC_EXTERNAL_FAILURE,
  RFC_EXECUTED,
  RFC_NOT_FOUND,
  RFC_NOT_SUPPORTED,
  RFC_ILLEGAL_STATE,
  RFC_INVALID_PARAMETER,
  RFC_CODEPAGE_CONVERSION_FAILURE,
  RFC_CONVERSION_FAILURE,
  RFC_BUFFER_TOO_SMALL,
  RFC_TABLE_MOVE_BOF,
  RFC_TABLE_MOVE_EOF,
  RFC_START_SAPGUI_FAILURE,
  RFC_ABAP_CLASS_EXCEPTION,
  RFC_UNKNOWN_ERROR,
  RFC_AUTHORIZATION_FAILURE,
  RFC_AUTHENTICATION_FAILURE,
  RFC_CRYPTOLIB_FAILURE,
  RFC_IO_FAILURE
} RFC_RC;

typedef enum _RFC_ERROR_GROUP : int {
  OK,
  ABAP_APPLICATION_FAILURE,
  ABAP_RUNTIME_FAILURE,
  LOGON_FAILURE,
  COMMUNICATION_FAILURE,
  EXTERNAL_RUNTIME_FAILURE,
  EXTERNAL_APPLICATION_FAILURE,
  EXTERNAL_AUTHORIZATION_FAILURE,
  EXTERNAL_AUTHENTICATION_FAILURE,
  CRYPTOLIB_FAILURE
} RFC_ERROR_GROUP;

typedef struct _RFC_ERROR_INFO {
  RFC_RC code;  // the return value of the operation
  RFC_ERROR_GROUP group;
  SAP_UC key[128];
  SAP_UC message[512];
  SAP_UC abapMsgClass[20 + 1];
  SAP_UC abapMsgType[1 + 1];
  RFC_NUM abapMsgNumber[3 + 1];
  SAP_UC abapMsgV1[50 + 1];
  SAP_UC abapMsgV2[50 + 1];
  SAP_UC abapMsgV3[50 + 1];
  SAP_UC abapMsgV4[50 + 1];
} RFC_ERROR_INFO;

typedef struct _RFC_CONNECTION_PARAMETER {
  const SAP_UC* name;
  const SAP_UC* value;
} RFC_CONNECTION_PARAMETER;

/// Handles: each a pointer to a one-member record of its own, null on failure. Functions,
/// structures and tables are all data containers.
typedef struct _RFC_CONNECTION_HANDLE {
  void* handle;
} * RFC_CONNECTION_HANDLE;
typedef struct _RFC_FUNCTION_DESC_HANDLE {
  void* handle;
} * RFC_FUNCTION_DESC_HANDLE;
typedef struct _RFC_TYPE_DESC_HANDLE {
  void* handle;
} * RFC_TYPE_DESC_HANDLE;
typedef struct _RFC_DATA_CONTAINER {
  void* handle;
} * DATA_CONTAINER_HANDLE;
typedef DATA_CONTAINER_HANDLE RFC_FUNCTION_HANDLE;
typedef DATA_CONTAINER_HANDLE RFC_STRUCTURE_HANDLE;
typedef DATA_CONTAINER_HANDLE RFC_TABLE_HANDLE;
typedef DATA_CONTAINER_HANDLE RFC_ABAP_OBJECT_HANDLE;

typedef enum _RFCTYPE : int {
  RFCTYPE_CHAR = 0,
  RFCTYPE_DATE = 1,
  RFCTYPE_BCD = 2,
  RFCTYPE_TIME = 3,
  RFCTYPE_BYTE = 4,
  RFCTYPE_TABLE = 5,
  RFCTYPE_NUM = 6,
  RFCTYPE_FLOAT = 7,
  RFCTYPE_INT = 8,
  RFCTYPE_INT2 = 9,
  RFCTYPE_INT1 = 10,
  RFCTYPE_STRUCTURE = 17,
  RFCTYPE_DECF16 = 23,
  RFCTYPE_DECF34 = 24,
  RFCTYPE_STRING = 29,
  RFCTYPE_XSTRING = 30,
  RFCTYPE_INT8 = 31,
  RFCTYPE_UTCLONG = 32
} RFCTYPE;

DECL_EXP RFC_CONNECTION_HANDLE SAP_API RfcOpenConnection(
    RFC_CONNECTION_PARAMETER const* connectionParams, unsigned paramCount,
    RFC_ERROR_INFO* errorInfo);
DECL_EXP RFC_RC SAP_API RfcCloseConnection(RFC_CONNECTION_HANDLE rfcHandle,
                                            RFC_ERROR_INFO* errorInfo);
DECL_EXP RFC_FUNCTION_DESC_HANDLE SAP_API RfcGetFunctionDesc(RFC_CONNECTION_HANDLE rfcHandle,
                                                             const SAP_UC* funcName,
                                                             RFC_ERROR_INFO* errorInfo);
DECL_EXP RFC_FUNCTION_HANDLE SAP_API RfcCreateFunction(RFC_FUNCTION_DESC_HANDLE funcDescHandle,
                                                       RFC_ERROR_INFO* errorInfo);
DECL_EXP RFC_RC SAP_API RfcDestroyFunction(RFC_FUNCTION_HANDLE funcHandle,
                                            RFC_ERROR_INFO* errorInfo);
DECL_EXP RFC_RC SAP_API RfcInvoke(RFC_CONNECTION_HANDLE rfcHandle, RFC_FUNCTION_HANDLE funcHandle,
                                   RFC_ERROR_INFO* errorInfo);
DECL_EXP RFC_RC SAP_API RfcGetStructure(DATA_CONTAINER_HANDLE dataHandle, const SAP_UC* name,
                                         RFC_STRUCTURE_HANDLE* structHandle,
                                         RFC_ERROR_INFO* errorInfo);
DECL_EXP RFC_RC SAP_API RfcGetChars(DATA_CONTAINER_HANDLE dataHandle, const SAP_UC* name,
                                     RFC_CHAR* charBuffer, unsigned bufferLength,
                                     RFC_ERROR_INFO* errorInfo);
DECL_EXP RFC_RC SAP_API RfcGetInt(DATA_CONTAINER_HANDLE dataHandle, const SAP_UC* name,
                                   RFC_INT* value, RFC_ERROR_INFO* errorInfo);
DECL_EXP RFC_RC SAP_API RfcGetString(DATA_CONTAINER_HANDLE dataHandle, const SAP_UC* name,
                                      SAP_UC* stringBuffer, unsigned bufferLength,
                                      unsigned* stringLength, RFC_ERROR_INFO* errorInfo);
DECL_EXP RFC_RC SAP_API RfcSetIniPath(const SAP_UC* pathName, RFC_ERROR_INFO* errorInfo);
DECL_EXP const SAP_UC* SAP_API RfcGetRcAsString(RFC_RC rc);

}  // extern "C"

namespace simnwrfc_layout {

constexpr std::size_t Pick(std::size_t bits32, std::size_t bits64) {
  return sizeof(void*) == 8 ? bits64 : bits32;
}

static_assert(sizeof(void*) == 4 || sizeof(void*) == 8, "a 32-bit or 64-bit target");
static_assert(sizeof(SAP_UC) == 2, "SAP_UC is one UTF-16 code unit");
static_assert(sizeof(RFC_RC) == 4 && sizeof(RFC_ERROR_GROUP) == 4 && sizeof(RFCTYPE) == 4,
              "enumerations");
static_assert(sizeof(RFC_INT2) == 2 && sizeof(RFC_INT) == 4 && sizeof(RFC_INT8) == 8 &&
                  sizeof(RFC_FLOAT) == 8,
              "numbers");
static_assert(sizeof(RFC_DATE) == 16 && sizeof(RFC_TIME) == 12, "RFC_DATE, RFC_TIME");
static_assert(sizeof(RFC_ABAP_NAME) == 62, "RFC_ABAP_NAME");

static_assert(sizeof(RFC_ERROR_INFO) == 1752, "RFC_ERROR_INFO");
static_assert(alignof(RFC_ERROR_INFO) == 4, "RFC_ERROR_INFO alignment");
static_assert(offsetof(RFC_ERROR_INFO, code) == 0, "RFC_ERROR_INFO.code");
static_assert(offsetof(RFC_ERROR_INFO, group) == 4, "RFC_ERROR_INFO.group");
static_assert(offsetof(RFC_ERROR_INFO, key) == 8, "RFC_ERROR_INFO.key");
static_assert(offsetof(RFC_ERROR_INFO, message) == 264, "RFC_ERROR_INFO.message");
static_assert(offsetof(RFC_ERROR_INFO, abapMsgClass) == 1288, "RFC_ERROR_INFO.abapMsgClass");
static_assert(offsetof(RFC_ERROR_INFO, abapMsgType) == 1330, "RFC_ERROR_INFO.abapMsgType");
static_assert(offsetof(RFC_ERROR_INFO, abapMsgNumber) == 1334, "RFC_ERROR_INFO.abapMsgNumber");
static_assert(offsetof(RFC_ERROR_INFO, abapMsgV1) == 1342, "RFC_ERROR_INFO.abapMsgV1");
static_assert(offsetof(RFC_ERROR_INFO, abapMsgV2) == 1444, "RFC_ERROR_INFO.abapMsgV2");
static_assert(offsetof(RFC_ERROR_INFO, abapMsgV3) == 1546, "RFC_ERROR_INFO.abapMsgV3");
static_assert(offsetof(RFC_ERROR_INFO, abapMsgV4) == 1648, "RFC_ERROR_INFO.abapMsgV4");

static_assert(sizeof(RFC_CONNECTION_PARAMETER) == Pick(8, 16), "RFC_CONNECTION_PARAMETER");
static_assert(offsetof(RFC_CONNECTION_PARAMETER, value) == Pick(4, 8),
              "RFC_CONNECTION_PARAMETER.value");

static_assert(sizeof(_RFC_CONNECTION_HANDLE) == sizeof(void*) &&
                  sizeof(_RFC_FUNCTION_DESC_HANDLE) == sizeof(void*) &&
                  sizeof(_RFC_TYPE_DESC_HANDLE) == sizeof(void*) &&
                  sizeof(_RFC_DATA_CONTAINER) == sizeof(void*),
              "handle records hold one pointer");

static_assert(RFC_INVALID_HANDLE == 13 && RFC_INVALID_PARAMETER == 20 &&
                  RFC_BUFFER_TOO_SMALL == 23 && RFC_AUTHORIZATION_FAILURE == 29 &&
                  RFC_IO_FAILURE == 32,
              "return codes");
static_assert(EXTERNAL_RUNTIME_FAILURE == 5 && CRYPTOLIB_FAILURE == 9, "error groups");

}  // namespace simnwrfc_layout

#endif
