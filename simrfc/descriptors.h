/// The checks a real RFC library makes on the parameter and table descriptors of RfcCall and
/// RfcReceive: names and their lengths, type handles, value and row lengths, table handles.
#ifndef KELVORAN_SIMRFC_DESCRIPTORS_H
#define KELVORAN_SIMRFC_DESCRIPTORS_H

#include <optional>
#include <string>
#include <vector>

#include "simulated_systems.h"
#include "internal_tables.h"
#include "sap_declarations.h"
#include "structures.h"

namespace simrfc {

/// An export parameter of the module and where the caller wants it.
struct ParameterTarget {
  const ParameterDef* parameter;
  unsigned char* address;
};

/// A table of the module and the internal table the caller gave for it.
struct TableTarget {
  std::string name;
  InternalTable* table;
};

/// Checks the parameters that RfcCall sends to `module` (the modules here take none).
std::optional<std::string> CheckSentParameters(const ModuleDef& module,
                                               const RFC_PARAMETER* parameters);

/// Checks the parameters that RfcReceive is to fill against the module's export parameters.
std::optional<std::string> CheckReceivedParameters(const StructureRegistry& structures,
                                                   const ModuleDef& module,
                                                   const RFC_PARAMETER* parameters,
                                                   std::vector<ParameterTarget>& targets);

/// Checks a table list of RfcCall or RfcReceive against the module's tables, marking each entry
/// as a table of the caller's (`newitab` 0), as SAP's library does.
std::optional<std::string> CheckTables(const StructureRegistry& structures,
                                       const TableRegistry& tables, const ModuleDef& module,
                                       RFC_TABLE* list, std::vector<TableTarget>& targets);

}  // namespace simrfc

#endif
