/// How each SAP library's table of operations is declared and filled. A library's folder lists
/// its operations once, as a macro that applies its argument to each name (for example
/// KELVORAN_CLASSIC_OPERATIONS(OPERATION)); the function type of operation N is NFunction. These
/// are the arguments that make the list into the table's members, the declarations of the
/// linked operations, and the code that fills the table from the linked or the loaded library.
#ifndef KELVORAN_RFC_OPERATION_TABLE_H
#define KELVORAN_RFC_OPERATION_TABLE_H

/// A member of the table: the operation's address, null until the table is filled.
#define KELVORAN_OPERATION_MEMBER(name) name##Function* name = nullptr;

/// The declaration of a linked operation (within extern "C").
#define KELVORAN_LINKED_OPERATION(name) name##Function name;

/// Fills the member of the table `operations` from the linked operation.
#define KELVORAN_TAKE_LINKED_OPERATION(name) operations.name = &::name;

/// Fills the member of the table `operations` from the loaded `library` (see FindOperation in
/// rfc/library_loading.h, which adds a missing operation's name to `missing`).
#define KELVORAN_FIND_LOADED_OPERATION(name) \
  FindOperation(library, #name, operations.name, missing);

#endif
