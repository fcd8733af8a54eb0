/// The probe's table of the classic RFC library's operations: every call of the probe into the
/// library goes through it. It is filled in one place, LoadRfcLibrary (rfc/library_steps.h):
/// from the library linked into the program (the Linux development build and the tests,
/// linked_operations.cpp), or from SAP's LIBRFC32.dll loaded when the run first needs it
/// (loaded_operations.cpp). Which of the two a program has is chosen when it is linked.
#ifndef KELVORAN_RFC_CLASSIC_RFC_OPERATIONS_H
#define KELVORAN_RFC_CLASSIC_RFC_OPERATIONS_H

#include "rfc/classic/rfc_library.h"
#include "rfc/operation_table.h"

/// The operations the probe calls, by the names the library exports them under. The cross
/// build (scripts/cross-build.sh) checks that the simulated library exports every one.
#define KELVORAN_CLASSIC_OPERATIONS(OPERATION)                                                \
  OPERATION(RfcEnvironment)                                                                   \
  OPERATION(RfcOpen)                                                                          \
  OPERATION(RfcOpenEx)                                                                        \
  OPERATION(RfcClose)                                                                         \
  OPERATION(RfcLastError)                                                                     \
  OPERATION(RfcInstallStructure)                                                              \
  OPERATION(RfcCall)                                                                          \
  OPERATION(RfcReceive)                                                                       \
  OPERATION(ItCreate)                                                                         \
  OPERATION(ItDelete)

namespace kelvoran {

struct RfcOperations {
  KELVORAN_CLASSIC_OPERATIONS(KELVORAN_OPERATION_MEMBER)
};

}  // namespace kelvoran

#endif
