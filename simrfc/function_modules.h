/// The function modules the simulated SAP systems offer, with the export parameters, records
/// and tables they answer in, laid out as SAP defines them.
#ifndef KELVORAN_SIMRFC_FUNCTION_MODULES_H
#define KELVORAN_SIMRFC_FUNCTION_MODULES_H

#include <string_view>

#include "field_codec.h"

namespace simrfc {

/// A record type: its fields in order, packed without gaps.
struct StructureSpec {
  const char* name;
  const FieldSpec* fields;
  unsigned count;
};

unsigned StructureLength(const StructureSpec& structure);
unsigned FieldOffset(const StructureSpec& structure, unsigned index);

/// An export parameter: a single value (`scalar`) or a record (`structure`).
struct ParameterSpec {
  const char* name;
  const FieldSpec* scalar;
  const StructureSpec* structure;
};

struct ModuleSpec {
  const char* name;
  const ParameterSpec* exports;
  unsigned exportCount;
  /// The module's tables, all of the row type `rowStructure`.
  const char* const* tables;
  unsigned tableCount;
  const StructureSpec* rowStructure;
};

/// RFCSI, the record of RFC_SYSTEM_INFO: 18 character fields, 200 characters.
extern const StructureSpec kSystemInfoStructure;
/// DB02INFDB4, the record of DB02_DB4_GET_INFO: 21 fields, 120 bytes.
extern const StructureSpec kDb4InfoStructure;
/// MISSOBJ, the row of the object tables: one character field of 40.
extern const StructureSpec kObjectRowStructure;

extern const ModuleSpec kSystemInfoModule;
extern const ModuleSpec kDb4InfoModule;

/// The module called `name` (exact spelling), or null.
const ModuleSpec* FindModule(std::string_view name);
/// The export parameter `name` of `module`, or null.
const ParameterSpec* FindExport(const ModuleSpec& module, std::string_view name);
/// Whether `name` is one of the tables of `module`.
bool HasTable(const ModuleSpec& module, std::string_view name);

/// A value a system answers with: a field of one of the records or a scalar export parameter,
/// looked up by its SAP name. Null when there is no such value.
const FieldSpec* FindAnswerField(std::string_view name);
/// Whether `name` is a table that some module answers with.
bool IsAnswerTable(std::string_view name);
/// The structure named `name`, or null.
const StructureSpec* FindStructureSpec(std::string_view name);

}  // namespace simrfc

#endif
