/// Reading the values of functions and structures by field name.
#ifndef KELVORAN_SIMNWRFC_FIELDS_H
#define KELVORAN_SIMNWRFC_FIELDS_H

#include "library.h"
#include "nwrfc_declarations.h"
#include "nwrfc_error.h"

namespace simnwrfc {

/// RfcGetStructure: the structure parameter `name` of a function.
RFC_RC GetStructure(Library& library, DATA_CONTAINER_HANDLE container, const SAP_UC* name,
                    RFC_STRUCTURE_HANDLE* structure, NwError& error);
/// RfcGetChars: the field's text left-aligned and blank-padded to `length` characters, without a
/// NUL; RFC_BUFFER_TOO_SMALL with the text cut when the buffer is shorter than a character
/// field, or than the text of a number.
RFC_RC GetChars(Library& library, DATA_CONTAINER_HANDLE container, const SAP_UC* name,
                RFC_CHAR* buffer, unsigned length, NwError& error);
/// RfcGetInt: an integer field.
RFC_RC GetInt(Library& library, DATA_CONTAINER_HANDLE container, const SAP_UC* name,
              RFC_INT* value, NwError& error);
/// RfcGetString: the field's text NUL-terminated, `*textLength` its length without the NUL;
/// RFC_BUFFER_TOO_SMALL, with nothing written to the buffer, when the text and its NUL do not
/// fit. Packed numbers come as decimal text ("-0.50000").
RFC_RC GetString(Library& library, DATA_CONTAINER_HANDLE container, const SAP_UC* name,
                 SAP_UC* buffer, unsigned length, unsigned* textLength, NwError& error);

}  // namespace simnwrfc

#endif
