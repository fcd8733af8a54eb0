/// Calling function modules: RfcCall sends a call, RfcReceive takes the system's answer, or the
/// failure its landscape entry injects.
#ifndef KELVORAN_SIMRFC_CALLS_H
#define KELVORAN_SIMRFC_CALLS_H

#include "library.h"
#include "rfc/rfc_library.h"

namespace simrfc {

RfcReturnCode CallModule(Library& library, RfcHandle handle, const char* function,
                         const RfcParameter* exporting, const RfcTable* tables);

RfcReturnCode ReceiveAnswer(Library& library, RfcHandle handle, const RfcParameter* importing,
                            const RfcTable* tables, char** exception);

}  // namespace simrfc

#endif
