/// The function modules the simulated SAP systems offer, with the export parameters, records
/// and tables they answer in, laid out as SAP defines them.
#ifndef KELVORAN_SIMSAP_FUNCTION_MODULES_H
#define KELVORAN_SIMSAP_FUNCTION_MODULES_H

#include <string_view>

#include "field_codec.h"

namespace simsap {

/// A record type: its fields in order, packed without gaps.
struct StructureDef {
  const char* name;
  const FieldDef* fields;
  unsigned count;
};

unsigned StructureLength(const StructureDef& structure);
unsigned FieldOffset(const StructureDef& structure, unsigned index);

/// An export parameter: a single value (`scalar`) or a record (`structure`).
struct ParameterDef {
  const char* name;
  const FieldDef* scalar;
  const StructureDef* structure;
};

struct ModuleDef {
  const char* name;
  const ParameterDef* exports;
  unsigned exportCount;
  /// The module's tables, all of the row type `rowStructure`.
  const char* const* tables;
  unsigned tableCount;
  const StructureDef* rowStructure;
};

/// RFCSI, the record of RFC_SYSTEM_INFO: 18 character fields, 200 characters.
extern const StructureDef kSystemInfoStructure;
/// DB02INFDB4, the record of DB02_DB4_GET_INFO: 21 fields, 120 bytes.
extern const StructureDef kDb4InfoStructure;
/// MISSOBJ, the row of the object tables: one character field of 40.
extern const StructureDef kObjectRowStructure;

extern const ModuleDef kSystemInfoModule;
extern const ModuleDef kDb4InfoModule;

/// The module called `name` (exact spelling), or null.
const ModuleDef* FindModule(std::string_view name);
/// The export parameter `name` of `module`, or null.
const ParameterDef* FindExport(const ModuleDef& module, std::string_view name);
/// Whether `name` is one of the tables of `module`.
bool HasTable(const ModuleDef& module, std::string_view name);

/// A value a system answers with: a field of one of the records or a scalar export parameter,
/// looked up by its SAP name. Null when there is no such value.
const FieldDef* FindAnswerField(std::string_view name);
/// Whether `name` is a table that some module answers with.
bool IsAnswerTable(std::string_view name);
/// The structure named `name`, or null.
const StructureDef* FindStructureDef(std::string_view name);

}  // namespace simsap

#endif
