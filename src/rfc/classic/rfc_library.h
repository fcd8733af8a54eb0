/// The classic RFC client library, as the probe calls it.
///
/// This is the one place where the library's operations and records are declared. The probe
/// reaches SAP systems only through these calls, made through its table of the library's
/// operations (rfc_operations.h): on the monitor's host they are SAP's library's, on our
/// machines the simulated library's in simrfc/.
#ifndef KELVORAN_RFC_CLASSIC_RFC_LIBRARY_H
#define KELVORAN_RFC_CLASSIC_RFC_LIBRARY_H

#if defined(_WIN32) && !defined(_WIN64)
#define RFC_CALL __stdcall
#else
#define RFC_CALL
#endif

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

/// Connection handle; 0 means no connection.
typedef unsigned int RfcHandle;
/// Handle of an installed structure type (also used where a basic type code goes).
typedef unsigned int RfcTypeHandle;
/// Handle of an internal table; null means failure.
typedef void* RfcTableHandle;
/// Result of a library call.
typedef int RfcReturnCode;

/// Basic type codes.
enum RfcTypeCode {
  RFC_TYPE_CHAR = 0,
  RFC_TYPE_DATE = 1,   /* YYYYMMDD */
  RFC_TYPE_PACKED = 2, /* BCD with sign nibble */
  RFC_TYPE_TIME = 3,   /* HHMMSS */
  RFC_TYPE_INT = 8     /* 4-byte signed integer */
};

/// Return codes of RfcCall and RfcReceive.
enum RfcReturnCodes {
  RFC_OK = 0,
  RFC_FAILURE = 1,
  RFC_EXCEPTION = 2,
  RFC_SYS_EXCEPTION = 3
};

/// The library's error handler: called with the name of the failed operation.
typedef void(RFC_CALL* RfcErrorHandler)(char* operation);
/// Optional allocator; null selects the library's own.
typedef void*(RFC_CALL* RfcAllocator)(void* old, unsigned long size);

/// Environment record handed to RfcEnvironment.
typedef struct RfcEnvironmentRecord {
  RfcErrorHandler errorHandler;
  RfcAllocator allocator;
} RfcEnvironmentRecord;

/// Connection parameters of an R/2 connection (mode 1).
typedef struct GatewayParameters {
  char* gatewayHost;    /* null when not given */
  char* gatewayService; /* null when not given */
} GatewayParameters;

/// Connection parameters of an R/3 connection (mode 0).
typedef struct ServerParameters {
  char* hostName; /* null when not given */
  int systemNumber;
  char* gatewayHost;    /* null when not given */
  char* gatewayService; /* null when not given */
} ServerParameters;

/// Record taken by RfcOpen.
typedef struct ConnectionOptions {
  char* destination;
  int mode;                   /* 1: R/2 via gateway, 0: R/3 via application server */
  void* connectionParameters; /* GatewayParameters* (mode 1) or ServerParameters* (mode 0) */
  char* client;
  char* user;
  char* password;
  char* language;
  int trace;
} ConnectionOptions;

/// Last error of the library, filled by RfcLastError.
typedef struct RfcErrorInfo {
  char key[33];
  char status[128];
  char message[256];
  char internalStatus[128];
} RfcErrorInfo;

/// Error information handed to RfcOpenEx.
typedef struct RfcOpenErrorInfo {
  int group;
  char key[33];
  char message[513];
} RfcOpenErrorInfo;

/// One element of a structure description.
typedef struct RfcTypeElement {
  char* name;
  unsigned int type; /* basic type code */
  unsigned int length;
  unsigned int decimals;
  unsigned int notUsed; /* unused by RfcInstallStructure, which lays the fields out itself; 0 */
} RfcTypeElement;

/// Parameter descriptor of RfcCall and RfcReceive; a list ends with a null name.
typedef struct RfcParameter {
  void* name;
  unsigned int nameLength;
  RfcTypeHandle type;
  unsigned int length;
  void* address;
} RfcParameter;

/// Passing mode of a table parameter.
enum RfcTableMode { RFC_TABLE_BY_REFERENCE = 0, RFC_TABLE_BY_VALUE = 1 };

/// Table descriptor of RfcCall and RfcReceive; a list ends with a null name.
typedef struct RfcTable {
  void* name;
  unsigned int nameLength;
  RfcTypeHandle type;
  unsigned int length; /* row length */
  RfcTableHandle table;
  int mode;
  /* Set by the library when it created the table itself; a caller's own tables carry 0. The
     library may write it in every entry of a list it reads, so it must be there. */
  int libraryCreated;
} RfcTable;

/* The operations, as the types of their functions: <operation>Function. */
typedef void RFC_CALL RfcEnvironmentFunction(RfcEnvironmentRecord* environment);
typedef RfcHandle RFC_CALL RfcOpenFunction(ConnectionOptions* options);
typedef RfcHandle RFC_CALL RfcOpenExFunction(const char* connectString,
                                             RfcOpenErrorInfo* errorInfo);
typedef void RFC_CALL RfcCloseFunction(RfcHandle handle);
typedef int RFC_CALL RfcLastErrorFunction(RfcErrorInfo* errorInfo);
typedef RfcReturnCode RFC_CALL RfcInstallStructureFunction(const char* name,
                                                           RfcTypeElement* elements,
                                                           unsigned int count,
                                                           RfcTypeHandle* typeHandle);
typedef RfcReturnCode RFC_CALL RfcCallFunction(RfcHandle handle, const char* function,
                                               RfcParameter* exporting, RfcTable* tables);
typedef RfcReturnCode RFC_CALL RfcReceiveFunction(RfcHandle handle, RfcParameter* importing,
                                                  RfcTable* tables, char** exception);
typedef RfcTableHandle RFC_CALL ItCreateFunction(const char* name, unsigned int rowLength,
                                                 unsigned int occurs, unsigned int memory);
typedef int RFC_CALL ItDeleteFunction(RfcTableHandle table);

#ifdef __cplusplus
}

// The records as SAP's library reads them, member by member, on 32-bit Windows (the probe's
// target) and on the 64-bit systems: an edit that moves a member fails to compile here.
namespace kelvoran::rfc_layout {
constexpr bool k32 = sizeof(void*) == 4;
constexpr unsigned long Pick(unsigned long bits32, unsigned long bits64) {
  return k32 ? bits32 : bits64;
}
static_assert(sizeof(void*) == 4 || sizeof(void*) == 8, "a 32-bit or 64-bit target");
static_assert(sizeof(RfcEnvironmentRecord) == Pick(8, 16), "RFC_ENV");
static_assert(offsetof(RfcEnvironmentRecord, allocator) == Pick(4, 8), "RFC_ENV.allocate");

static_assert(sizeof(ConnectionOptions) == Pick(32, 64), "RFC_OPTIONS");
static_assert(offsetof(ConnectionOptions, mode) == Pick(4, 8), "RFC_OPTIONS.mode");
static_assert(offsetof(ConnectionOptions, connectionParameters) == Pick(8, 16), "connopt");
static_assert(offsetof(ConnectionOptions, client) == Pick(12, 24), "RFC_OPTIONS.client");
static_assert(offsetof(ConnectionOptions, user) == Pick(16, 32), "RFC_OPTIONS.user");
static_assert(offsetof(ConnectionOptions, password) == Pick(20, 40), "RFC_OPTIONS.password");
static_assert(offsetof(ConnectionOptions, language) == Pick(24, 48), "RFC_OPTIONS.language");
static_assert(offsetof(ConnectionOptions, trace) == Pick(28, 56), "RFC_OPTIONS.trace");

static_assert(sizeof(ServerParameters) == Pick(16, 32), "RFC_CONNOPT_R3ONLY");
static_assert(offsetof(ServerParameters, systemNumber) == Pick(4, 8), "sysnr");
static_assert(offsetof(ServerParameters, gatewayHost) == Pick(8, 16), "gateway_host");
static_assert(offsetof(ServerParameters, gatewayService) == Pick(12, 24), "gateway_service");
static_assert(sizeof(GatewayParameters) == Pick(8, 16), "RFC_CONNOPT_CPIC");
static_assert(offsetof(GatewayParameters, gatewayService) == Pick(4, 8), "gateway_service");

static_assert(sizeof(RfcErrorInfo) == 545, "RFC_ERROR_INFO");
static_assert(offsetof(RfcErrorInfo, status) == 33, "RFC_ERROR_INFO.status");
static_assert(offsetof(RfcErrorInfo, message) == 161, "RFC_ERROR_INFO.message");
static_assert(offsetof(RfcErrorInfo, internalStatus) == 417, "RFC_ERROR_INFO.intstat");
static_assert(sizeof(RfcOpenErrorInfo) == 552, "RFC_ERROR_INFO_EX");
static_assert(offsetof(RfcOpenErrorInfo, key) == 4, "RFC_ERROR_INFO_EX.key");
static_assert(offsetof(RfcOpenErrorInfo, message) == 37, "RFC_ERROR_INFO_EX.message");

static_assert(sizeof(RfcTypeElement) == Pick(20, 24), "RFC_TYPE_ELEMENT");
static_assert(offsetof(RfcTypeElement, type) == Pick(4, 8), "RFC_TYPE_ELEMENT.type");
static_assert(offsetof(RfcTypeElement, notUsed) == Pick(16, 20), "RFC_TYPE_ELEMENT._not_used");

static_assert(sizeof(RfcParameter) == Pick(20, 32), "RFC_PARAMETER");
static_assert(offsetof(RfcParameter, nameLength) == Pick(4, 8), "RFC_PARAMETER.nlen");
static_assert(offsetof(RfcParameter, type) == Pick(8, 12), "RFC_PARAMETER.type");
static_assert(offsetof(RfcParameter, length) == Pick(12, 16), "RFC_PARAMETER.leng");
static_assert(offsetof(RfcParameter, address) == Pick(16, 24), "RFC_PARAMETER.addr");

static_assert(sizeof(RfcTable) == Pick(28, 40), "RFC_TABLE");
static_assert(offsetof(RfcTable, nameLength) == Pick(4, 8), "RFC_TABLE.nlen");
static_assert(offsetof(RfcTable, type) == Pick(8, 12), "RFC_TABLE.type");
static_assert(offsetof(RfcTable, length) == Pick(12, 16), "RFC_TABLE.leng");
static_assert(offsetof(RfcTable, table) == Pick(16, 24), "RFC_TABLE.ithandle");
static_assert(offsetof(RfcTable, mode) == Pick(20, 32), "RFC_TABLE.itmode");
static_assert(offsetof(RfcTable, libraryCreated) == Pick(24, 36), "RFC_TABLE.newitab");
}  // namespace kelvoran::rfc_layout
#endif

#endif
