#include "descriptors.h"

#include <cstring>

namespace simrfc {

namespace {

constexpr unsigned kMaxNameLength = 30;
/// A list longer than this has lost its terminating entry.
constexpr unsigned kMaxListLength = 100;

// The name of a descriptor: exactly `length` characters, none of them NUL.
std::optional<std::string> ReadName(const void* name, unsigned length, std::string& text) {
  if (length == 0 || length > kMaxNameLength) {
    return "name length " + std::to_string(length) + " is not from 1 to 30";
  }
  const char* characters = static_cast<const char*>(name);
  const void* end = std::memchr(characters, '\0', length);
  if (end != nullptr) {
    text.assign(characters, static_cast<const char*>(end));
    return "name length " + std::to_string(length) + " is longer than the name '" + text + "'";
  }
  text.assign(characters, length);
  return std::nullopt;
}

std::string Hex(unsigned value) {
  static const char kDigits[] = "0123456789abcdef";
  std::string text;
  do {
    text.insert(text.begin(), kDigits[value % 16]);
    value /= 16;
  } while (value != 0);
  return "0x" + text;
}

// Checks that `type` and `length` describe records of `structure`.
std::optional<std::string> CheckStructureType(const StructureRegistry& structures, unsigned type,
                                              unsigned length, const StructureDef& structure) {
  const unsigned expectedLength = StructureLength(structure);
  if (IsBasicType(type)) {
    return "has the basic type " + std::to_string(type) + ", not a structure of the layout " +
           structure.name;
  }
  const InstalledStructure* installed = structures.Find(type);
  if (installed == nullptr) return "has the unknown type handle " + Hex(type);
  if (std::optional<std::string> difference = CompareLayout(*installed, structure)) {
    return "does not fit " + std::string(structure.name) + ": " + *difference;
  }
  if (length != expectedLength) {
    return "has length " + std::to_string(length) + ", " + structure.name + " is " +
           std::to_string(expectedLength) + " bytes long";
  }
  return std::nullopt;
}

std::optional<std::string> CheckScalarType(const StructureRegistry& structures, unsigned type,
                                           unsigned length, const FieldDef& field) {
  if (!IsBasicType(type) && structures.Find(type) == nullptr) {
    return "has the unknown type handle " + Hex(type);
  }
  if (type != field.type) {
    return "has type " + std::to_string(type) + ", it is of type " + std::to_string(field.type);
  }
  if (length != field.length) {
    return "has length " + std::to_string(length) + ", it is " + std::to_string(field.length) +
           " bytes long";
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> CheckSentParameters(const ModuleDef& module,
                                               const RFC_PARAMETER* parameters) {
  if (parameters == nullptr || parameters[0].name == nullptr) return std::nullopt;
  std::string name;
  if (std::optional<std::string> problem =
          ReadName(parameters[0].name, parameters[0].nlen, name)) {
    return "parameter 1: " + *problem;
  }
  return std::string(module.name) + " has no importing parameter '" + name + "'";
}

std::optional<std::string> CheckReceivedParameters(const StructureRegistry& structures,
                                                   const ModuleDef& module,
                                                   const RFC_PARAMETER* parameters,
                                                   std::vector<ParameterTarget>& targets) {
  targets.clear();
  targets.reserve(module.exportCount);
  for (unsigned i = 0; parameters != nullptr && parameters[i].name != nullptr; ++i) {
    if (i == kMaxListLength) return std::string("the parameter list has no end");
    const RFC_PARAMETER& p = parameters[i];
    std::string name;
    if (std::optional<std::string> problem = ReadName(p.name, p.nlen, name)) {
      return "parameter " + std::to_string(i + 1) + ": " + *problem;
    }
    const ParameterDef* parameter = FindExport(module, name);
    if (parameter == nullptr) {
      return std::string(module.name) + " has no export parameter '" + name + "'";
    }
    for (const ParameterTarget& target : targets) {
      if (target.parameter == parameter) return "parameter " + name + " is given twice";
    }
    if (p.addr == nullptr) return "parameter " + name + " has no address";
    std::optional<std::string> problem =
        parameter->structure != nullptr
            ? CheckStructureType(structures, p.type, p.leng, *parameter->structure)
            : CheckScalarType(structures, p.type, p.leng, *parameter->scalar);
    if (problem) return "parameter " + name + " " + *problem;
    targets.push_back(ParameterTarget{parameter, static_cast<unsigned char*>(p.addr)});
  }
  return std::nullopt;
}

std::optional<std::string> CheckTables(const StructureRegistry& structures,
                                       const TableRegistry& tables, const ModuleDef& module,
                                       RFC_TABLE* list, std::vector<TableTarget>& targets) {
  targets.clear();
  targets.reserve(module.tableCount);
  for (unsigned i = 0; list != nullptr && list[i].name != nullptr; ++i) {
    if (i == kMaxListLength) return std::string("the table list has no end");
    RFC_TABLE& t = list[i];
    // The caller created every table it hands over; SAP's library marks that in each entry it
    // reads, so a caller whose entries are shorter than RFC_TABLE loses what follows.
    t.newitab = 0;
    std::string name;
    if (std::optional<std::string> problem = ReadName(t.name, t.nlen, name)) {
      return "table " + std::to_string(i + 1) + ": " + *problem;
    }
    if (!HasTable(module, name)) return std::string(module.name) + " has no table '" + name + "'";
    for (const TableTarget& target : targets) {
      if (target.name == name) return "table " + name + " is given twice";
    }
    const StructureDef& row = *module.rowStructure;
    if (std::optional<std::string> problem =
            CheckStructureType(structures, t.type, t.leng, row)) {
      return "table " + name + " " + *problem;
    }
    InternalTable* table = tables.Find(t.ithandle);
    if (table == nullptr) {
      return "table " + name + " has a handle that is no table of ItCreate (or one deleted)";
    }
    if (table->rowLength != StructureLength(row)) {
      return "table " + name + " was created with rows of " + std::to_string(table->rowLength) +
             " bytes, " + row.name + " is " + std::to_string(StructureLength(row)) + " bytes long";
    }
    if (t.itmode != RFC_ITMODE_BYREFERENCE && t.itmode != RFC_ITMODE_BYVALUE) {
      return "table " + name + " has the passing mode " + std::to_string(t.itmode) +
             ", neither 0 nor 1";
    }
    targets.push_back(TableTarget{name, table});
  }
  return std::nullopt;
}

}  // namespace simrfc
