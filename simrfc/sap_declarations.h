/// SAP's classic RFC client library as SAP declares it: the records, codes and operations that
/// this stand-in exports, with SAP's names and SAP's layout (classic RFC SDK 6.40).
///
/// The simulated library is compiled from these declarations only and never from the probe's
/// header, just as SAP's LIBRFC32.dll was compiled from SAP's header and not from ours: where
/// the probe's records disagree with SAP's, the probe's tests against this library fail.
#ifndef KELVORAN_SIMRFC_SAP_DECLARATIONS_H
#define KELVORAN_SIMRFC_SAP_DECLARATIONS_H

#include <cstddef>

/// Every operation and callback is __stdcall on 32-bit Windows.
#if defined(_WIN32) && !defined(_WIN64)
#define SAP_API __stdcall
#else
#define SAP_API
#endif

extern "C" {

typedef unsigned RFC_HANDLE;     /* 0: no connection */
typedef unsigned RFC_TYPEHANDLE; /* a basic type code, or a handle of RfcInstallStructure */
typedef void* ITAB_H;            /* null: no table */

/// RFC_RC, RFC_MODE, RFC_ITMODE and RFC_ERROR_GROUP are enumerations in SAP's header: four
/// bytes with this compiler, as an int is. They are declared as int here so that the library
/// can read whatever number a caller put there and refuse it, instead of holding a value that
/// its enumeration does not have.
typedef int RFC_RC;
enum {
  RFC_OK = 0,
  RFC_FAILURE = 1,
  RFC_EXCEPTION = 2,
  RFC_SYS_EXCEPTION = 3,
  RFC_MEMORY_INSUFFICIENT = 11,
  RFC_INVALID_HANDLE = 18,
  RFC_INVALID_PARAMETER = 19,
  RFC_TIMEOUT = 23
};

/// Basic type codes.
enum {
  TYPC = 0,    /* characters */
  TYPDATE = 1, /* YYYYMMDD */
  TYPP = 2,    /* packed decimal */
  TYPTIME = 3, /* HHMMSS */
  TYPX = 4,    /* raw bytes */
  TYPTABH = 5, /* table */
  TYPNUM = 6,  /* numeric text */
  TYPFLOAT = 7,
  TYPINT = 8, /* four-byte integer */
  TYPINT2 = 9,
  TYPINT1 = 10
};

typedef int RFC_MODE;
enum {
  RFC_MODE_R3ONLY = 0,
  RFC_MODE_CPIC = 1,
  RFC_MODE_VERSION_3 = 3,
  RFC_MODE_PARAMETER = 4,
  RFC_MODE_CPIC_EXT = 5
};

typedef int RFC_ITMODE;
enum { RFC_ITMODE_BYREFERENCE = 0, RFC_ITMODE_BYVALUE = 1, RFC_ITMODE_KEEPALIVE = 2 };

typedef int RFC_ERROR_GROUP;

typedef void(SAP_API* RFC_ERROR_HANDLER)(char* operation);
typedef void*(SAP_API* RFC_ALLOCATE)(void* old, unsigned long size);

typedef struct {
  RFC_ERROR_HANDLER errorhandler;
  RFC_ALLOCATE allocate;
} RFC_ENV;

typedef struct {
  char* destination;
  RFC_MODE mode;
  void* connopt; /* RFC_CONNOPT_R3ONLY* (mode 0) or RFC_CONNOPT_CPIC* (mode 1) */
  char* client;
  char* user;
  char* password;
  char* language;
  int trace;
} RFC_OPTIONS;

typedef struct {
  char* hostname;
  int sysnr;
  char* gateway_host;
  char* gateway_service;
} RFC_CONNOPT_R3ONLY;

typedef struct {
  char* gateway_host;
  char* gateway_service;
} RFC_CONNOPT_CPIC;

typedef struct {
  char key[33];
  char status[128];
  char message[256];
  char intstat[128];
} RFC_ERROR_INFO;

typedef struct {
  RFC_ERROR_GROUP group;
  char key[33];
  char message[513];
} RFC_ERROR_INFO_EX;

typedef struct {
  char* name;
  unsigned type;
  unsigned length;
  unsigned decimals;
  unsigned _not_used; /* ignored: the library lays the fields out itself */
} RFC_TYPE_ELEMENT;

/// A list of parameters ends with an entry whose name is null.
typedef struct {
  void* name;
  unsigned nlen;
  unsigned type; /* a basic type code or a structure's type handle */
  unsigned leng;
  void* addr;
} RFC_PARAMETER;

/// A list of tables ends with an entry whose name is null.
typedef struct {
  void* name;
  unsigned nlen;
  unsigned type; /* the row structure's type handle */
  unsigned leng; /* row length */
  ITAB_H ithandle;
  RFC_ITMODE itmode;
  int newitab; /* set by the library when the library itself created the table */
} RFC_TABLE;

void SAP_API RfcEnvironment(RFC_ENV* environment);
RFC_HANDLE SAP_API RfcOpen(RFC_OPTIONS* options);
RFC_HANDLE SAP_API RfcOpenEx(char* connect_param, RFC_ERROR_INFO_EX* error_info);
void SAP_API RfcClose(RFC_HANDLE handle);
int SAP_API RfcLastError(RFC_ERROR_INFO* error_info);
RFC_RC SAP_API RfcInstallStructure(char* name, RFC_TYPE_ELEMENT* elements, unsigned entries,
                                   RFC_TYPEHANDLE* type_handle);
RFC_RC SAP_API RfcCall(RFC_HANDLE handle, char* function, RFC_PARAMETER* exporting,
                       RFC_TABLE* tables);
RFC_RC SAP_API RfcReceive(RFC_HANDLE handle, RFC_PARAMETER* importing, RFC_TABLE* tables,
                          char** exception);
ITAB_H SAP_API ItCreate(char* name, unsigned leng, unsigned occu, unsigned memo);
int SAP_API ItDelete(ITAB_H table);

}  // extern "C"

// SAP's layout, member by member: 32-bit Windows (the probe's target) and the 64-bit systems.
// A change that moves a member fails to compile here.
namespace simrfc::layout {
constexpr bool k32 = sizeof(void*) == 4;
constexpr std::size_t Pick(std::size_t bits32, std::size_t bits64) { return k32 ? bits32 : bits64; }

static_assert(sizeof(void*) == 4 || sizeof(void*) == 8, "a 32-bit or 64-bit target");
static_assert(sizeof(RFC_ENV) == Pick(8, 16), "RFC_ENV");
static_assert(offsetof(RFC_ENV, allocate) == Pick(4, 8), "RFC_ENV.allocate");

static_assert(sizeof(RFC_OPTIONS) == Pick(32, 64), "RFC_OPTIONS");
static_assert(offsetof(RFC_OPTIONS, mode) == Pick(4, 8), "RFC_OPTIONS.mode");
static_assert(offsetof(RFC_OPTIONS, connopt) == Pick(8, 16), "RFC_OPTIONS.connopt");
static_assert(offsetof(RFC_OPTIONS, client) == Pick(12, 24), "RFC_OPTIONS.client");
static_assert(offsetof(RFC_OPTIONS, user) == Pick(16, 32), "RFC_OPTIONS.user");
static_assert(offsetof(RFC_OPTIONS, password) == Pick(20, 40), "RFC_OPTIONS.password");
static_assert(offsetof(RFC_OPTIONS, language) == Pick(24, 48), "RFC_OPTIONS.language");
static_assert(offsetof(RFC_OPTIONS, trace) == Pick(28, 56), "RFC_OPTIONS.trace");

static_assert(sizeof(RFC_CONNOPT_R3ONLY) == Pick(16, 32), "RFC_CONNOPT_R3ONLY");
static_assert(offsetof(RFC_CONNOPT_R3ONLY, sysnr) == Pick(4, 8), "sysnr");
static_assert(offsetof(RFC_CONNOPT_R3ONLY, gateway_host) == Pick(8, 16), "gw host");
static_assert(offsetof(RFC_CONNOPT_R3ONLY, gateway_service) == Pick(12, 24), "gw");
static_assert(sizeof(RFC_CONNOPT_CPIC) == Pick(8, 16), "RFC_CONNOPT_CPIC");
static_assert(offsetof(RFC_CONNOPT_CPIC, gateway_service) == Pick(4, 8), "gw");

static_assert(sizeof(RFC_ERROR_INFO) == 545, "RFC_ERROR_INFO");
static_assert(offsetof(RFC_ERROR_INFO, status) == 33, "RFC_ERROR_INFO.status");
static_assert(offsetof(RFC_ERROR_INFO, message) == 161, "RFC_ERROR_INFO.message");
static_assert(offsetof(RFC_ERROR_INFO, intstat) == 417, "RFC_ERROR_INFO.intstat");
static_assert(sizeof(RFC_ERROR_INFO_EX) == 552, "RFC_ERROR_INFO_EX");
static_assert(offsetof(RFC_ERROR_INFO_EX, key) == 4, "RFC_ERROR_INFO_EX.key");
static_assert(offsetof(RFC_ERROR_INFO_EX, message) == 37, "RFC_ERROR_INFO_EX.message");

static_assert(sizeof(RFC_TYPE_ELEMENT) == Pick(20, 24), "RFC_TYPE_ELEMENT");
static_assert(offsetof(RFC_TYPE_ELEMENT, type) == Pick(4, 8), "element type");
static_assert(offsetof(RFC_TYPE_ELEMENT, _not_used) == Pick(16, 20), "_not_used");

static_assert(sizeof(RFC_PARAMETER) == Pick(20, 32), "RFC_PARAMETER");
static_assert(offsetof(RFC_PARAMETER, nlen) == Pick(4, 8), "RFC_PARAMETER.nlen");
static_assert(offsetof(RFC_PARAMETER, type) == Pick(8, 12), "RFC_PARAMETER.type");
static_assert(offsetof(RFC_PARAMETER, leng) == Pick(12, 16), "RFC_PARAMETER.leng");
static_assert(offsetof(RFC_PARAMETER, addr) == Pick(16, 24), "RFC_PARAMETER.addr");

static_assert(sizeof(RFC_TABLE) == Pick(28, 40), "RFC_TABLE");
static_assert(offsetof(RFC_TABLE, nlen) == Pick(4, 8), "RFC_TABLE.nlen");
static_assert(offsetof(RFC_TABLE, type) == Pick(8, 12), "RFC_TABLE.type");
static_assert(offsetof(RFC_TABLE, leng) == Pick(12, 16), "RFC_TABLE.leng");
static_assert(offsetof(RFC_TABLE, ithandle) == Pick(16, 24), "RFC_TABLE.ithandle");
static_assert(offsetof(RFC_TABLE, itmode) == Pick(20, 32), "RFC_TABLE.itmode");
static_assert(offsetof(RFC_TABLE, newitab) == Pick(24, 36), "RFC_TABLE.newitab");
}  // namespace simrfc::layout

#endif
