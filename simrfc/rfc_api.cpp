// The C functions of the simulated RFC library: each takes the library's one context and hands
// the call to the part of the library that does the work.
#include <cstring>

#include "calls.h"
#include "connections.h"
#include "library.h"
#include "rfc/rfc_library.h"
#include "text.h"

namespace simrfc {

namespace {

constexpr unsigned kMaxRowLength = 65535;

LibraryError Misuse(const std::string& message) {
  return MakeError(ErrorGroup::Program, "wrong call", message);
}

RfcReturnCode InstallStructure(Library& library, const char* name, RfcTypeElement* elements,
                               unsigned count, RfcTypeHandle* typeHandle) {
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

RfcTableHandle CreateTable(Library& library, const char* name, unsigned rowLength) {
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

int DeleteTable(Library& library, RfcTableHandle handle) {
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

void RFC_CALL RfcEnvironment(RfcEnvironmentRecord* environment) {
  if (environment != nullptr) TheLibrary().environment = *environment;
}

RfcHandle RFC_CALL RfcOpen(ConnectionOptions* options) {
  return simrfc::OpenWithOptions(TheLibrary(), options);
}

RfcHandle RFC_CALL RfcOpenEx(const char* connectString, RfcOpenErrorInfo* errorInfo) {
  return simrfc::OpenWithConnectString(TheLibrary(), connectString, errorInfo);
}

void RFC_CALL RfcClose(RfcHandle handle) { simrfc::CloseConnection(TheLibrary(), handle); }

int RFC_CALL RfcLastError(RfcErrorInfo* errorInfo) {
  if (errorInfo == nullptr) return 1;
  std::memset(errorInfo, 0, sizeof *errorInfo);
  const std::optional<simrfc::LibraryError>& error = TheLibrary().lastError;
  if (!error) return 1;
  simrfc::CopyCut(errorInfo->key, sizeof errorInfo->key, error->key);
  simrfc::CopyCut(errorInfo->status, sizeof errorInfo->status, error->status);
  simrfc::CopyCut(errorInfo->message, sizeof errorInfo->message, error->message);
  simrfc::CopyCut(errorInfo->internalStatus, sizeof errorInfo->internalStatus,
                  error->internalStatus);
  return 0;
}

RfcReturnCode RFC_CALL RfcInstallStructure(const char* name, RfcTypeElement* elements,
                                           unsigned int count, RfcTypeHandle* typeHandle) {
  return simrfc::InstallStructure(TheLibrary(), name, elements, count, typeHandle);
}

RfcReturnCode RFC_CALL RfcCall(RfcHandle handle, const char* function, RfcParameter* exporting,
                               RfcTable* tables) {
  return simrfc::CallModule(TheLibrary(), handle, function, exporting, tables);
}

RfcReturnCode RFC_CALL RfcReceive(RfcHandle handle, RfcParameter* importing, RfcTable* tables,
                                  char** exception) {
  return simrfc::ReceiveAnswer(TheLibrary(), handle, importing, tables, exception);
}

RfcTableHandle RFC_CALL ItCreate(const char* name, unsigned int rowLength, unsigned int,
                                 unsigned int) {
  return simrfc::CreateTable(TheLibrary(), name, rowLength);
}

int RFC_CALL ItDelete(RfcTableHandle table) { return simrfc::DeleteTable(TheLibrary(), table); }

}  // extern "C"
