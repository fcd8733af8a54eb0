/// The simulated SAP systems (simsap/) as this library sees them: their names are used here as
/// the library's own.
#ifndef KELVORAN_SIMRFC_SIMULATED_SYSTEMS_H
#define KELVORAN_SIMRFC_SIMULATED_SYSTEMS_H

#include "sap_declarations.h"
#include "simsap/answers.h"
#include "simsap/field_codec.h"
#include "simsap/function_modules.h"
#include "simsap/indexed_landscape.h"
#include "simsap/landscape.h"
#include "simsap/stalls.h"
#include "simsap/text.h"
#include "simsap/whole_file.h"

namespace simrfc {
using namespace simsap;

// The systems' fields carry SAP's basic type codes, which this library hands on unchanged.
static_assert(kTypeChar == unsigned{TYPC} && kTypeDate == unsigned{TYPDATE} &&
                  kTypePacked == unsigned{TYPP} && kTypeTime == unsigned{TYPTIME} &&
                  kTypeInteger == unsigned{TYPINT},
              "field types numbered as SAP's basic types");
}  // namespace simrfc

#endif
