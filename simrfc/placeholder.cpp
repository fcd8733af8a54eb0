// Placeholder until the simulated library is built: every connection is refused.
#include "rfc/rfc_library.h"

extern "C" {
void RFC_CALL RfcEnvironment(RfcEnvironmentRecord*) {}
RfcHandle RFC_CALL RfcOpen(ConnectionOptions*) { return 0; }
RfcHandle RFC_CALL RfcOpenEx(const char*, RfcOpenErrorInfo*) { return 0; }
void RFC_CALL RfcClose(RfcHandle) {}
int RFC_CALL RfcLastError(RfcErrorInfo*) { return 1; }
RfcReturnCode RFC_CALL RfcInstallStructure(const char*, RfcTypeElement*, unsigned int,
                                           RfcTypeHandle*) { return 1; }
RfcReturnCode RFC_CALL RfcCall(RfcHandle, const char*, RfcParameter*, RfcTable*) { return 1; }
RfcReturnCode RFC_CALL RfcReceive(RfcHandle, RfcParameter*, RfcTable*, char**) { return 1; }
RfcTableHandle RFC_CALL ItCreate(const char*, unsigned int, unsigned int, unsigned int) {
  return nullptr;
}
int RFC_CALL ItDelete(RfcTableHandle) { return 1; }
}
