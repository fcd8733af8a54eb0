#include "structures.h"

#include <cstring>

namespace simrfc {

namespace {

constexpr unsigned kMaxElements = 1000;
constexpr std::size_t kMaxNameLength = 30;
constexpr unsigned kMaxCharLength = 65535;
constexpr unsigned kMaxPackedLength = 16;
constexpr unsigned kMaxStructureLength = 1u << 20;

std::string Describe(unsigned type, unsigned length, unsigned decimals, unsigned offset) {
  return "type " + std::to_string(type) + ", length " + std::to_string(length) + ", decimals " +
         std::to_string(decimals) + ", offset " + std::to_string(offset);
}

// What is wrong with one element's type, length and decimals, or nothing.
std::optional<std::string> CheckElement(const RFC_TYPE_ELEMENT& e) {
  const std::string length = std::to_string(e.length);
  switch (e.type) {
    case TYPC:
      if (e.length == 0 || e.length > kMaxCharLength) {
        return "a character field of length " + length + " is not possible";
      }
      break;
    case TYPDATE:
      if (e.length != 8) return "a date has length 8, not " + length;
      break;
    case TYPTIME:
      if (e.length != 6) return "a time has length 6, not " + length;
      break;
    case TYPINT:
      if (e.length != 4) return "an integer has length 4, not " + length;
      break;
    case TYPP:
      if (e.length == 0 || e.length > kMaxPackedLength) {
        return "a packed number of length " + length + " is not possible (1 to 16 bytes)";
      }
      if (e.decimals > 2 * e.length - 1) {
        return "a packed number of length " + length + " holds " +
               std::to_string(2 * e.length - 1) + " digits, not " + std::to_string(e.decimals) +
               " decimals";
      }
      return std::nullopt;
    default:
      return "type " + std::to_string(e.type) +
             " is not a basic type (0 char, 1 date, 2 packed, 3 time, 8 integer)";
  }
  if (e.decimals != 0) return "only a packed number has decimals";
  return std::nullopt;
}

bool SameFields(const std::vector<InstalledField>& a, const std::vector<InstalledField>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i].name != b[i].name || a[i].type != b[i].type || a[i].length != b[i].length ||
        a[i].decimals != b[i].decimals || a[i].offset != b[i].offset) {
      return false;
    }
  }
  return true;
}

}  // namespace

bool IsBasicType(unsigned type) {
  return type == TYPC || type == TYPDATE || type == TYPP ||
         type == TYPTIME || type == TYPINT;
}

StructureRegistry::Result StructureRegistry::Install(const char* name,
                                                     const RFC_TYPE_ELEMENT* elements,
                                                     unsigned count) {
  Result result;
  if (name == nullptr || name[0] == '\0') {
    result.error = "structure without a name";
    return result;
  }
  const std::string structureName(name);
  const std::string of = " of structure " + structureName;
  if (structureName.size() > kMaxNameLength) {
    result.error = "structure name " + structureName + " is longer than 30 characters";
    return result;
  }
  if (elements == nullptr || count == 0) {
    result.error = "no elements given for structure " + structureName;
    return result;
  }
  if (count > kMaxElements) {
    result.error = std::to_string(count) + " elements are too many for structure " + structureName;
    return result;
  }

  // The fields lie one after the other in the order given, as SAP's library lays them out;
  // the element's fifth member is not used (whatever a caller put there).
  InstalledStructure structure;
  structure.name = structureName;
  unsigned end = 0;
  for (unsigned i = 0; i < count; ++i) {
    const RFC_TYPE_ELEMENT& e = elements[i];
    const std::string element = "element " + std::to_string(i + 1);
    if (e.name == nullptr || e.name[0] == '\0') {
      result.error = element + of + " has no name";
      return result;
    }
    if (std::strlen(e.name) > kMaxNameLength) {
      result.error = element + of + " has a name longer than 30 characters";
      return result;
    }
    const std::string label = element + " (" + e.name + ")" + of;
    if (std::optional<std::string> problem = CheckElement(e)) {
      result.error = label + ": " + *problem;
      return result;
    }
    const unsigned offset = end;
    if (offset > kMaxStructureLength - e.length) {
      result.error = label + ": the structure would be longer than " +
                     std::to_string(kMaxStructureLength) + " bytes";
      return result;
    }
    structure.fields.push_back(InstalledField{e.name, e.type, e.length, e.decimals, offset});
    end = offset + e.length;
  }
  structure.length = end;

  for (const InstalledStructure& installed : structures_) {
    if (installed.name != structureName) continue;
    if (SameFields(installed.fields, structure.fields)) {
      result.handle = installed.handle;
    } else {
      result.error =
          "structure " + structureName + " is installed already with another description";
    }
    return result;
  }
  structure.handle = kFirstStructureHandle + static_cast<RFC_TYPEHANDLE>(structures_.size());
  result.handle = structure.handle;
  structures_.push_back(std::move(structure));
  return result;
}

const InstalledStructure* StructureRegistry::Find(RFC_TYPEHANDLE handle) const {
  for (const InstalledStructure& structure : structures_) {
    if (structure.handle == handle) return &structure;
  }
  return nullptr;
}

std::optional<std::string> CompareLayout(const InstalledStructure& installed,
                                         const StructureDef& expected) {
  if (installed.fields.size() != expected.count) {
    return "structure " + installed.name + " has " + std::to_string(installed.fields.size()) +
           " fields, " + expected.name + " has " + std::to_string(expected.count);
  }
  // The expected fields lie one after the other: each begins where the one before it ends.
  for (unsigned i = 0, offset = 0; i < expected.count; offset += expected.fields[i].length, ++i) {
    const InstalledField& have = installed.fields[i];
    const FieldDef& want = expected.fields[i];
    if (have.type != want.type || have.length != want.length || have.decimals != want.decimals ||
        have.offset != offset) {
      return "structure " + installed.name + ": field " + std::to_string(i + 1) + " (" + have.name +
             ") has " + Describe(have.type, have.length, have.decimals, have.offset) + "; " +
             expected.name + " has " + want.name + " with " +
             Describe(want.type, want.length, want.decimals, offset);
    }
  }
  return std::nullopt;
}

}  // namespace simrfc
