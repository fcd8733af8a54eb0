#include "calls.h"

#include <vector>

#include "simulated_systems.h"
#include "connections.h"
#include "descriptors.h"

namespace simrfc {

namespace {

constexpr const char* kSystemFailure = "SYSTEM_FAILURE";

RFC_RC Misuse(Library& library, const char* operation, RFC_HANDLE handle,
                     const std::string& message) {
  library.Fail(operation, handle, MakeError(ErrorGroup::Program, "wrong call", message));
  return RFC_FAILURE;
}

// The error that an injected return code of RfcReceive leaves.
LibraryError ReceiveFaultError(const std::string& module, const ReceiveFault& fault) {
  switch (fault.code) {
    case RFC_FAILURE:
      return MakeError(ErrorGroup::Communication, "RECEIVE failed",
                       "connection to partner broken while receiving the answer of " + module);
    case RFC_EXCEPTION:
      return MakeError(ErrorGroup::ApplicationException, "EXCEPTION raised",
                       module + " raised the exception " + fault.exception);
    case RFC_SYS_EXCEPTION:
      return MakeError(ErrorGroup::SystemFailure, "SYSTEM_FAILURE",
                       "ABAP runtime error in " + module);
    default:
      return MakeError(ErrorGroup::Program, "RECEIVE failed",
                       module + " ended with return code " + std::to_string(fault.code));
  }
}

void HandOutException(Library& library, const std::string& name, char** exception) {
  library.exception = name;
  if (exception != nullptr) *exception = name.empty() ? nullptr : library.exception.data();
}

}  // namespace

RFC_RC CallModule(Library& library, RFC_HANDLE handle, const char* function,
                         const RFC_PARAMETER* exporting, RFC_TABLE* tables) {
  const char* operation = "RfcCall";
  Connection* connection = UsableConnection(library, handle, operation);
  if (connection == nullptr) return RFC_FAILURE;
  if (function == nullptr) return Misuse(library, operation, handle, "no function module named");
  const ModuleDef* module = FindModule(function);
  if (module == nullptr) {
    return Misuse(library, operation, handle,
                  std::string("function module ") + function + " not found");
  }
  if (connection->pendingCall != nullptr) {
    return Misuse(
        library, operation, handle,
        std::string("the answer of ") + connection->pendingCall->name + " is not received yet");
  }
  if (std::optional<std::string> problem = CheckSentParameters(*module, exporting)) {
    return Misuse(library, operation, handle, *problem);
  }
  std::vector<TableTarget> targets;
  if (std::optional<std::string> problem =
          CheckTables(library.structures, library.tables, *module, tables, targets)) {
    return Misuse(library, operation, handle, *problem);
  }

  const SystemEntry& system = *connection->system;
  Stall(system, operation, system.callDelay, module->name);
  if (library.InjectedLibraryFailure(&system, operation, handle)) return RFC_FAILURE;
  if (system.failingCalls.count(module->name) != 0) {
    connection->broken = true;
    library.Fail(operation, handle,
                 InjectedError(system, MakeError(ErrorGroup::Communication, "CALL failed",
                                                 std::string("connection to partner broken "
                                                             "while calling ") +
                                                     module->name)));
    return RFC_FAILURE;
  }
  if (connection->logonPending) {
    connection->logonPending = false;
    connection->refusedLogon =
        CheckLogon(system, connection->client, connection->user, connection->password);
  }
  connection->pendingCall = module;
  return RFC_OK;
}

RFC_RC ReceiveAnswer(Library& library, RFC_HANDLE handle, const RFC_PARAMETER* importing,
                            RFC_TABLE* tables, char** exception) {
  const char* operation = "RfcReceive";
  if (exception != nullptr) *exception = nullptr;
  Connection* connection = UsableConnection(library, handle, operation);
  if (connection == nullptr) return RFC_FAILURE;
  const ModuleDef* module = connection->pendingCall;
  if (module == nullptr) {
    return Misuse(library, operation, handle, "no RfcCall waits for its answer");
  }
  connection->pendingCall = nullptr;
  std::vector<ParameterTarget> parameters;
  if (std::optional<std::string> problem =
          CheckReceivedParameters(library.structures, *module, importing, parameters)) {
    return Misuse(library, operation, handle, *problem);
  }
  std::vector<TableTarget> targets;
  if (std::optional<std::string> problem =
          CheckTables(library.structures, library.tables, *module, tables, targets)) {
    return Misuse(library, operation, handle, *problem);
  }

  const SystemEntry& system = *connection->system;
  Stall(system, operation, system.receiveDelay, module->name);
  if (library.InjectedLibraryFailure(&system, operation, handle)) return RFC_FAILURE;
  if (connection->refusedLogon) {
    connection->broken = true;
    library.Fail(operation, handle, *connection->refusedLogon);
    HandOutException(library, kSystemFailure, exception);
    return RFC_SYS_EXCEPTION;
  }
  const auto fault = system.receiveFaults.find(module->name);
  if (fault != system.receiveFaults.end()) {
    const int code = fault->second.code;
    if (code == RFC_FAILURE || code == RFC_SYS_EXCEPTION) connection->broken = true;
    library.Fail(operation, handle,
                 InjectedError(system, ReceiveFaultError(module->name, fault->second)));
    const std::string& name = fault->second.exception;
    HandOutException(library, name.empty() && code == RFC_SYS_EXCEPTION ? kSystemFailure : name,
                     exception);
    return code;
  }

  const LocalTime now = [&library] { return library.Now(); };
  for (const ParameterTarget& target : parameters) {
    WriteExport(system, *target.parameter, target.address, now);
  }
  for (const TableTarget& target : targets) {
    target.table->rows = AnswerRows(system, target.name, target.table->rowLength);
  }
  return RFC_OK;
}

}  // namespace simrfc
