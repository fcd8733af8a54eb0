/// Internal tables of the library (ItCreate, ItDelete): rows of a fixed length that RfcReceive
/// fills from a system's answer.
#ifndef KELVORAN_SIMRFC_INTERNAL_TABLES_H
#define KELVORAN_SIMRFC_INTERNAL_TABLES_H

#include <memory>
#include <string>
#include <vector>

#include "sap_declarations.h"

namespace simrfc {

struct InternalTable {
  std::string name;
  unsigned rowLength = 0;
  std::vector<std::string> rows;  // each `rowLength` bytes
};

class TableRegistry {
 public:
  /// A new empty table; its address is its handle.
  InternalTable* Create(std::string name, unsigned rowLength);
  /// The live table behind `handle`, or null; an unknown handle is never dereferenced.
  InternalTable* Find(ITAB_H handle) const;
  /// Deletes the live table behind `handle`; false when there is none.
  bool Delete(ITAB_H handle);

 private:
  std::vector<std::unique_ptr<InternalTable>> tables_;
};

}  // namespace simrfc

#endif
