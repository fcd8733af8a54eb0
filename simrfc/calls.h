/// Calling function modules: RfcCall sends a call, RfcReceive takes the system's answer, or the
/// failure its landscape entry injects.
#ifndef KELVORAN_SIMRFC_CALLS_H
#define KELVORAN_SIMRFC_CALLS_H

#include "library.h"
#include "sap_declarations.h"

namespace simrfc {

RFC_RC CallModule(Library& library, RFC_HANDLE handle, const char* function,
                         const RFC_PARAMETER* exporting, RFC_TABLE* tables);

RFC_RC ReceiveAnswer(Library& library, RFC_HANDLE handle, const RFC_PARAMETER* importing,
                            RFC_TABLE* tables, char** exception);

}  // namespace simrfc

#endif
