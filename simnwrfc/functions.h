/// Function descriptions, functions and the call of a function module.
#ifndef KELVORAN_SIMNWRFC_FUNCTIONS_H
#define KELVORAN_SIMNWRFC_FUNCTIONS_H

#include "library.h"
#include "nwrfc_declarations.h"
#include "nwrfc_error.h"

namespace simnwrfc {

/// RfcGetFunctionDesc: the module's description, or null (FU_NOT_FOUND for a module the
/// simulated systems do not have).
RFC_FUNCTION_DESC_HANDLE GetFunctionDesc(Library& library, RFC_CONNECTION_HANDLE connection,
                                         const SAP_UC* name, NwError& error);
/// RfcCreateFunction: a function whose export parameters hold their initial values.
RFC_FUNCTION_HANDLE CreateFunction(Library& library, RFC_FUNCTION_DESC_HANDLE description,
                                   NwError& error);
/// RfcDestroyFunction, with the function's structures.
RFC_RC DestroyFunction(Library& library, RFC_FUNCTION_HANDLE function, NwError& error);
/// RfcInvoke: the system's delays, hangs and faults, then its answer in the function's export
/// parameters. After a communication failure, an ABAP runtime failure or an ABAP message the
/// partner has closed the connection.
RFC_RC Invoke(Library& library, RFC_CONNECTION_HANDLE connection, RFC_FUNCTION_HANDLE function,
              NwError& error);

}  // namespace simnwrfc

#endif
