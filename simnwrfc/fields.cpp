#include "fields.h"

#include <cstdint>
#include <cstring>
#include <string>

#include "sap_text.h"
#include "simsap/field_codec.h"

namespace simnwrfc {

namespace {

// A field of a container: its definition and its bytes.
struct FieldRef {
  const simsap::FieldDef* field = nullptr;
  const unsigned char* bytes = nullptr;
};

const char* TypeName(unsigned type) {
  switch (type) {
    case simsap::kTypeChar:
      return "CHAR";
    case simsap::kTypeDate:
      return "DATE";
    case simsap::kTypeTime:
      return "TIME";
    case simsap::kTypeInteger:
      return "INT";
    case simsap::kTypePacked:
      return "BCD";
    default:
      return "UNKNOWN";
  }
}

// The container of `handle` and the name asked for, or the error of the call.
Container* Resolve(Library& library, DATA_CONTAINER_HANDLE handle, const SAP_UC* name,
                   std::string& fieldName, NwError& error) {
  Container* container = library.FindContainer(handle);
  if (container == nullptr) {
    error = InvalidHandle("DATA_CONTAINER_HANDLE");
    return nullptr;
  }
  if (name == nullptr) {
    error = InvalidArgument("const SAP_UC* name");
    return nullptr;
  }
  fieldName = Narrow(FromSap(name));
  return container;
}

NwError NotFound(const std::string& name) {
  return OwnError(RFC_INVALID_PARAMETER, "field '" + name + "' not found");
}

NwError NotConvertible(const std::string& name, const char* type, const char* wanted) {
  return OwnError(RFC_CONVERSION_FAILURE, std::string("field '") + name + "' of type " + type +
                                              " cannot be read as " + wanted);
}

// The scalar field `name` of `container`, or the error: not found, or a structure.
bool FindField(const Container& container, const std::string& name, FieldRef& ref,
               NwError& error) {
  if (container.structure != nullptr) {
    unsigned offset = 0;
    for (unsigned i = 0; i < container.structure->count; ++i) {
      const simsap::FieldDef& field = container.structure->fields[i];
      if (name == field.name) {
        ref = FieldRef{&field, container.bytes.data() + offset};
        return true;
      }
      offset += field.length;
    }
  } else {
    for (unsigned i = 0; i < container.module->exportCount; ++i) {
      const simsap::ParameterDef& parameter = container.module->exports[i];
      if (name != parameter.name) continue;
      if (parameter.structure != nullptr) {
        error = NotConvertible(name, "STRUCTURE", "a single value");
        return false;
      }
      ref = FieldRef{parameter.scalar, container.scalars.find(name)->second.data()};
      return true;
    }
  }
  error = NotFound(name);
  return false;
}

// The text of a field as the character getters give it: a character field padded to its
// length in characters; a number without padding.
std::u16string FieldText(const FieldRef& ref) {
  std::u16string text = Widen(simsap::DecodeField(*ref.field, ref.bytes));
  const bool characters = ref.field->type == simsap::kTypeChar ||
                          ref.field->type == simsap::kTypeDate ||
                          ref.field->type == simsap::kTypeTime;
  if (characters) text.resize(ref.field->length, u' ');
  return text;
}

}  // namespace

RFC_RC GetStructure(Library& library, DATA_CONTAINER_HANDLE handle, const SAP_UC* name,
                    RFC_STRUCTURE_HANDLE* structure, NwError& error) {
  std::string fieldName;
  Container* container = Resolve(library, handle, name, fieldName, error);
  if (container == nullptr) return error.code;
  if (structure == nullptr) {
    error = InvalidArgument("RFC_STRUCTURE_HANDLE* structHandle");
    return error.code;
  }
  const auto found = container->structures.find(fieldName);
  if (found != container->structures.end()) {
    *structure = &found->second->record;
    return RFC_OK;
  }
  FieldRef ref;
  if (FindField(*container, fieldName, ref, error)) {
    error = NotConvertible(fieldName, TypeName(ref.field->type), "STRUCTURE");
  }
  return error.code;
}

RFC_RC GetChars(Library& library, DATA_CONTAINER_HANDLE handle, const SAP_UC* name,
                RFC_CHAR* buffer, unsigned length, NwError& error) {
  std::string fieldName;
  Container* container = Resolve(library, handle, name, fieldName, error);
  if (container == nullptr) return error.code;
  if (buffer == nullptr) {
    error = InvalidArgument("RFC_CHAR* charBuffer");
    return error.code;
  }
  FieldRef ref;
  if (!FindField(*container, fieldName, ref, error)) return error.code;
  const std::u16string text = FieldText(ref);
  const std::size_t needed = text.size();
  PutUnits(buffer, text, length);
  for (std::size_t i = needed; i < length; ++i) buffer[i] = SAP_UC(u' ');
  if (needed > length) {
    error = OwnError(RFC_BUFFER_TOO_SMALL, "buffer of " + std::to_string(length) +
                                               " characters too small for field '" + fieldName +
                                               "' of " + std::to_string(needed));
    return error.code;
  }
  return RFC_OK;
}

RFC_RC GetInt(Library& library, DATA_CONTAINER_HANDLE handle, const SAP_UC* name, RFC_INT* value,
              NwError& error) {
  std::string fieldName;
  Container* container = Resolve(library, handle, name, fieldName, error);
  if (container == nullptr) return error.code;
  if (value == nullptr) {
    error = InvalidArgument("RFC_INT* value");
    return error.code;
  }
  FieldRef ref;
  if (!FindField(*container, fieldName, ref, error)) return error.code;
  if (ref.field->type != simsap::kTypeInteger) {
    error = NotConvertible(fieldName, TypeName(ref.field->type), "INT");
    return error.code;
  }
  std::int32_t number;
  std::memcpy(&number, ref.bytes, sizeof number);
  *value = number;
  return RFC_OK;
}

RFC_RC GetString(Library& library, DATA_CONTAINER_HANDLE handle, const SAP_UC* name,
                 SAP_UC* buffer, unsigned length, unsigned* textLength, NwError& error) {
  std::string fieldName;
  Container* container = Resolve(library, handle, name, fieldName, error);
  if (container == nullptr) return error.code;
  if (buffer == nullptr || textLength == nullptr) {
    error = InvalidArgument(buffer == nullptr ? "SAP_UC* stringBuffer" : "unsigned* stringLength");
    return error.code;
  }
  FieldRef ref;
  if (!FindField(*container, fieldName, ref, error)) return error.code;
  const std::u16string text = FieldText(ref);
  *textLength = static_cast<unsigned>(text.size());
  if (text.size() + 1 > length) {
    error = OwnError(RFC_BUFFER_TOO_SMALL, "buffer of " + std::to_string(length) +
                                               " characters too small for field '" + fieldName +
                                               "' of " + std::to_string(text.size()) +
                                               " and its end");
    return error.code;
  }
  CopyToSap(buffer, length, text);
  return RFC_OK;
}

}  // namespace simnwrfc
