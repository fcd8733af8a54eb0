/// The classic RFC client library, as the probe calls it.
///
/// This is the one place where the library's operations and records are declared. The probe
/// reaches SAP systems only through these calls; on the monitor's host they resolve to the SAP
/// library, on our machines to the simulated library in simrfc/.
#ifndef KELVORAN_RFC_RFC_LIBRARY_H
#define KELVORAN_RFC_RFC_LIBRARY_H

#if defined(_WIN32) && !defined(_WIN64)
#define RFC_CALL __stdcall
#else
#define RFC_CALL
#endif

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
  unsigned int offset; /* 0: computed by the library */
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
} RfcTable;

void RFC_CALL RfcEnvironment(RfcEnvironmentRecord* environment);
RfcHandle RFC_CALL RfcOpen(ConnectionOptions* options);
RfcHandle RFC_CALL RfcOpenEx(const char* connectString, RfcOpenErrorInfo* errorInfo);
void RFC_CALL RfcClose(RfcHandle handle);
int RFC_CALL RfcLastError(RfcErrorInfo* errorInfo);
RfcReturnCode RFC_CALL RfcInstallStructure(const char* name, RfcTypeElement* elements,
                                           unsigned int count, RfcTypeHandle* typeHandle);
RfcReturnCode RFC_CALL RfcCall(RfcHandle handle, const char* function, RfcParameter* exporting,
                               RfcTable* tables);
RfcReturnCode RFC_CALL RfcReceive(RfcHandle handle, RfcParameter* importing, RfcTable* tables,
                                  char** exception);
RfcTableHandle RFC_CALL ItCreate(const char* name, unsigned int rowLength, unsigned int occurs,
                                 unsigned int memory);
int RFC_CALL ItDelete(RfcTableHandle table);

#ifdef __cplusplus
}
#endif

#endif
