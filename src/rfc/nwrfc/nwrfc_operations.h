/// The probe's table of the NW RFC library's operations: every call of the probe into the
/// library goes through it. It is filled in one place, LoadRfcLibrary (rfc/library_steps.h):
/// from the library linked into the program (the tests, linked_operations.cpp), or from SAP's
/// sapnwrfc.dll or libsapnwrfc.so loaded when the run first needs it (loaded_operations.cpp).
/// Which of the two a program has is chosen when it is linked.
#ifndef KELVORAN_RFC_NWRFC_NWRFC_OPERATIONS_H
#define KELVORAN_RFC_NWRFC_NWRFC_OPERATIONS_H

#include "rfc/nwrfc/nwrfc_library.h"
#include "rfc/operation_table.h"

/// The operations the probe calls, by the names the library exports them under. The cross
/// build (scripts/cross-build.sh) checks that the simulated library exports every one.
#define KELVORAN_NWRFC_OPERATIONS(OPERATION)                                                  \
  OPERATION(RfcOpenConnection)                                                                \
  OPERATION(RfcCloseConnection)                                                               \
  OPERATION(RfcGetFunctionDesc)                                                               \
  OPERATION(RfcCreateFunction)                                                                \
  OPERATION(RfcDestroyFunction)                                                               \
  OPERATION(RfcInvoke)                                                                        \
  OPERATION(RfcGetStructure)                                                                  \
  OPERATION(RfcGetChars)                                                                      \
  OPERATION(RfcGetInt)                                                                        \
  OPERATION(RfcGetString)                                                                     \
  OPERATION(RfcSetIniPath)

namespace kelvoran {

struct NwOperations {
  KELVORAN_NWRFC_OPERATIONS(KELVORAN_OPERATION_MEMBER)
};

}  // namespace kelvoran

#endif
