#include "internal_tables.h"

#include <utility>

namespace simrfc {

InternalTable* TableRegistry::Create(std::string name, unsigned rowLength) {
  auto table = std::make_unique<InternalTable>();
  table->name = std::move(name);
  table->rowLength = rowLength;
  tables_.push_back(std::move(table));
  return tables_.back().get();
}

InternalTable* TableRegistry::Find(ITAB_H handle) const {
  for (const auto& table : tables_) {
    if (table.get() == handle) return table.get();
  }
  return nullptr;
}

bool TableRegistry::Delete(ITAB_H handle) {
  for (auto it = tables_.begin(); it != tables_.end(); ++it) {
    if (it->get() == handle) {
      tables_.erase(it);
      return true;
    }
  }
  return false;
}

}  // namespace simrfc
