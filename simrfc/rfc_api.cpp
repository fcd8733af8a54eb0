// The C functions of the simulated RFC library: each takes the library's one context and hands
// the call to the part of the library that does the work.
#include <cstring>

#include "calls.h"
#include "connections.h"
#include "library.h"
#include "sap_declarations.h"
#include "simulated_systems.h"

namespace simrfc {

namespace {

constexpr unsigned kMaxRowLength = 65535;

LibraryError Misuse(const std::string& message) {
  return MakeError(ErrorGroup::Program, "wrong call", message);
}

RFC_RC InstallStructure(Library& library, const char* name, RFC_TYPE_ELEMENT* elements,
                               unsigned count, RFC_TYPEHANDLE* typeHandle) {
  const char* operation = "RfcInstallStructure";
  if (typeHandle == nullptr) {
    library.Fail(operation, 0, Misuse("no place for the type handle given"));
    return RFC_FAILURE;
  }
  const SystemEntry* system = library.recentSystem;
  if (library.InjectedLibraryFailure(system, operation, 0)) return RFC_FAILURE;
  if (system != nullptr && name != nullptr && system->failingInstalls.count(name) != 0) {
    library.Fail(operation, 0,
                 InjectedError(*system, MakeError(ErrorGroup::Resource, "INSTALL failed",
                                                  std::string("structure ") + name +
                                                      " cannot be installed: no memory left")));
    return RFC_FAILURE;
  }
  const StructureRegistry::Result result = library.structures.Install(name, elements, count);
  if (!result.error.empty()) {
    library.Fail(operation, 0, Misuse(result.error));
    return RFC_FAILURE;
  }
  *typeHandle = result.handle;
  return RFC_OK;
}

ITAB_H CreateTable(Library& library, const char* name, unsigned rowLength) {
  const char* operation = "ItCreate";
  if (name == nullptr) {
    library.Fail(operation, 0, Misuse("no table name given"));
    return nullptr;
  }
  if (rowLength == 0 || rowLength > kMaxRowLength) {
    library.Fail(operation, 0,
                 Misuse("table " + std::string(name) + ": a row length of " +
                        std::to_string(rowLength) + " is not possible"));
    return nullptr;
  }
  const SystemEntry* system = library.recentSystem;
  if (library.InjectedLibraryFailure(system, operation, 0)) return nullptr;
  if (system != nullptr && system->failingCreates.count(name) != 0) {
    library.Fail(operation, 0,
                 InjectedError(*system, MakeError(ErrorGroup::Resource, "ItCreate failed",
                                                  std::string("internal table ") + name +
                                                      " cannot be created: no memory left")));
    return nullptr;
  }
  return library.tables.Create(name, rowLength);
}

int DeleteTable(Library& library, ITAB_H handle) {
  const char* operation = "ItDelete";
  const InternalTable* table = library.tables.Find(handle);
  if (table == nullptr) {
    library.Fail(operation, 0, Misuse("the handle is no table of ItCreate (or one deleted)"));
    return 1;
  }
  const SystemEntry* system = library.recentSystem;
  if (library.InjectedLibraryFailure(system, operation, 0)) return 1;
  if (system != nullptr && system->failingDeletes.count(table->name) != 0) {
    library.Fail(
        operation, 0,
        InjectedError(*system, MakeError(ErrorGroup::Resource, "ItDelete failed",
                                         "internal table " + table->name + " cannot be deleted")));
    return 1;
  }
  library.tables.Delete(handle);
  return 0;
}

}  // namespace

}  // namespace simrfc

using simrfc::TheLibrary;

extern "C" {

void SAP_API RfcEnvironment(RFC_ENV* environment) {
  if (environment != nullptr) TheLibrary().environment = *environment;
}

RFC_HANDLE SAP_API RfcOpen(RFC_OPTIONS* options) {
  return simrfc::OpenWithOptions(TheLibrary(), options);
}

RFC_HANDLE SAP_API RfcOpenEx(char* connectString, RFC_ERROR_INFO_EX* errorInfo) {
  return simrfc::OpenWithConnectString(TheLibrary(), connectString, errorInfo);
}

void SAP_API RfcClose(RFC_HANDLE handle) { simrfc::CloseConnection(TheLibrary(), handle); }

int SAP_API RfcLastError(RFC_ERROR_INFO* errorInfo) {
  if (errorInfo == nullptr) return 1;
  std::memset(errorInfo, 0, sizeof *errorInfo);
  const std::optional<simrfc::LibraryError>& error = TheLibrary().lastError;
  if (!error) return 1;
  simrfc::CopyCut(errorInfo->key, sizeof errorInfo->key, error->key);
  simrfc::CopyCut(errorInfo->status, sizeof errorInfo->status, error->status);
  simrfc::CopyCut(errorInfo->message, sizeof errorInfo->message, error->message);
  simrfc::CopyCut(errorInfo->intstat, sizeof errorInfo->intstat,
                  error->internalStatus);
  return 0;
}

RFC_RC SAP_API RfcInstallStructure(char* name, RFC_TYPE_ELEMENT* elements,
                                           unsigned int count, RFC_TYPEHANDLE* typeHandle) {
  return simrfc::InstallStructure(TheLibrary(), name, elements, count, typeHandle);
}

RFC_RC SAP_API RfcCall(RFC_HANDLE handle, char* function, RFC_PARAMETER* exporting,
                               RFC_TABLE* tables) {
  return simrfc::CallModule(TheLibrary(), handle, function, exporting, tables);
}

RFC_RC SAP_API RfcReceive(RFC_HANDLE handle, RFC_PARAMETER* importing, RFC_TABLE* tables,
                                  char** exception) {
  return simrfc::ReceiveAnswer(TheLibrary(), handle, importing, tables, exception);
}

ITAB_H SAP_API ItCreate(char* name, unsigned int rowLength, unsigned int,
                                 unsigned int) {
  return simrfc::CreateTable(TheLibrary(), name, rowLength);
}

int SAP_API ItDelete(ITAB_H table) { return simrfc::DeleteTable(TheLibrary(), table); }

}  // extern "C"
