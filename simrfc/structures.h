/// Structure types installed with RfcInstallStructure, and the checks of their layout.
#ifndef KELVORAN_SIMRFC_STRUCTURES_H
#define KELVORAN_SIMRFC_STRUCTURES_H

#include <optional>
#include <string>
#include <vector>

#include "simulated_systems.h"
#include "sap_declarations.h"

namespace simrfc {

/// Structure handles start above every basic type code, so the two never collide.
inline constexpr RFC_TYPEHANDLE kFirstStructureHandle = 0x100;

bool IsBasicType(unsigned type);

struct InstalledField {
  std::string name;
  unsigned type, length, decimals, offset;
};

struct InstalledStructure {
  std::string name;
  RFC_TYPEHANDLE handle = 0;
  std::vector<InstalledField> fields;
  unsigned length = 0;
};

class StructureRegistry {
 public:
  struct Result {
    RFC_TYPEHANDLE handle = 0;
    std::string error;  // empty on success
  };

  /// Installs a structure from its element table. When every offset is 0 the library computes
  /// them, packing the fields without gaps. The same name installed again with the same
  /// description gives the same handle.
  Result Install(const char* name, const RFC_TYPE_ELEMENT* elements, unsigned count);
  /// The structure with `handle`, or null.
  const InstalledStructure* Find(RFC_TYPEHANDLE handle) const;

 private:
  std::vector<InstalledStructure> structures_;
};

/// What differs between an installed structure and the layout a module answers in, or nothing.
std::optional<std::string> CompareLayout(const InstalledStructure& installed,
                                         const StructureDef& expected);

}  // namespace simrfc

#endif
