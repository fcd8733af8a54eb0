#include "functions.h"

#include <ctime>
#include <string>

#include "sap_text.h"
#include "simsap/answers.h"
#include "simsap/stalls.h"
#include "stall_plans.h"

namespace simnwrfc {

namespace {

constexpr const char* kSystemFailure = "SYSTEM_FAILURE";
constexpr const char* kMessageTypeX = "MESSAGE_TYPE_X";

// The bytes of `field` before any call: blanks, zeros, the initial date and time.
void WriteInitial(const simsap::FieldDef& field, unsigned char* out) {
  const char* initial = "";
  if (field.type == simsap::kTypeDate) initial = "00000000";
  if (field.type == simsap::kTypeTime) initial = "000000";
  if (field.type == simsap::kTypeInteger || field.type == simsap::kTypePacked) initial = "0";
  simsap::EncodeField(field, initial, out);
}

std::unique_ptr<Container> NewStructure(const simsap::StructureDef& definition) {
  auto structure = std::make_unique<Container>();
  structure->structure = &definition;
  structure->bytes.resize(simsap::StructureLength(definition));
  for (unsigned i = 0; i < definition.count; ++i) {
    WriteInitial(definition.fields[i],
                 structure->bytes.data() + simsap::FieldOffset(definition, i));
  }
  return structure;
}

NwError Failure(RFC_RC code, RFC_ERROR_GROUP group, std::string key, std::string message) {
  NwError error;
  error.code = code;
  error.group = group;
  error.key = std::move(key);
  error.message = std::move(message);
  return error;
}

// What an injected return code of the answer (FAIL_RECEIVE) becomes.
NwError ReceiveFailure(const std::string& module, const simsap::ReceiveFault& fault) {
  const std::string& name = fault.exception;
  switch (fault.code) {
    case 1:
      return Failure(RFC_COMMUNICATION_FAILURE, COMMUNICATION_FAILURE, "RFC_COMMUNICATION_FAILURE",
                     "connection to partner broken while receiving the answer of " + module);
    case 2:
      return Failure(RFC_ABAP_EXCEPTION, ABAP_APPLICATION_FAILURE, name,
                     module + " raised the exception " + name);
    case 3:
      return Failure(RFC_ABAP_RUNTIME_FAILURE, ABAP_RUNTIME_FAILURE,
                     name.empty() ? kSystemFailure : name, "ABAP runtime error in " + module);
    case 4:
      return Failure(RFC_ABAP_MESSAGE, ABAP_RUNTIME_FAILURE, name.empty() ? kMessageTypeX : name,
                     module + " ended with an ABAP message");
    default: {
      NwError error = OwnError(static_cast<RFC_RC>(fault.code),
                               module + " ended with return code " + std::to_string(fault.code));
      return error;
    }
  }
}

}  // namespace

RFC_FUNCTION_DESC_HANDLE GetFunctionDesc(Library& library, RFC_CONNECTION_HANDLE connection,
                                         const SAP_UC* name, NwError& error) {
  if (library.FindConnection(connection) == nullptr) {
    error = InvalidHandle("RFC_CONNECTION_HANDLE");
    return nullptr;
  }
  if (name == nullptr) {
    error = InvalidArgument("const SAP_UC* funcName");
    return nullptr;
  }
  const std::string moduleName = Narrow(FromSap(name));
  const simsap::ModuleDef* module = simsap::FindModule(moduleName);
  if (module == nullptr) {
    error = Failure(RFC_ABAP_EXCEPTION, ABAP_APPLICATION_FAILURE, "FU_NOT_FOUND",
                    "ID:FL Type:E Number:046 " + moduleName);
    error.abapMsgClass = "FL";
    error.abapMsgType = "E";
    error.abapMsgNumber = "046";
    error.abapMsgV1 = moduleName;
    return nullptr;
  }
  std::unique_ptr<_RFC_FUNCTION_DESC_HANDLE>& description = library.descriptions[module];
  if (!description) description = std::make_unique<_RFC_FUNCTION_DESC_HANDLE>();
  return description.get();
}

RFC_FUNCTION_HANDLE CreateFunction(Library& library, RFC_FUNCTION_DESC_HANDLE description,
                                   NwError& error) {
  const simsap::ModuleDef* module = library.FindDescription(description);
  if (module == nullptr) {
    error = InvalidHandle("RFC_FUNCTION_DESC_HANDLE");
    return nullptr;
  }
  auto function = std::make_unique<Container>();
  function->module = module;
  for (unsigned i = 0; i < module->exportCount; ++i) {
    const simsap::ParameterDef& parameter = module->exports[i];
    if (parameter.structure != nullptr) {
      function->structures.emplace(parameter.name, NewStructure(*parameter.structure));
    } else {
      std::vector<unsigned char>& bytes = function->scalars[parameter.name];
      bytes.resize(parameter.scalar->length);
      WriteInitial(*parameter.scalar, bytes.data());
    }
  }
  const RFC_FUNCTION_HANDLE handle = &function->record;
  library.functions.emplace(handle, std::move(function));
  return handle;
}

RFC_RC DestroyFunction(Library& library, RFC_FUNCTION_HANDLE function, NwError& error) {
  if (library.functions.erase(function) == 0) {
    error = InvalidHandle("RFC_FUNCTION_HANDLE");
    return error.code;
  }
  return RFC_OK;
}

RFC_RC Invoke(Library& library, RFC_CONNECTION_HANDLE handle, RFC_FUNCTION_HANDLE functionHandle,
              NwError& error) {
  Connection* connection = library.FindConnection(handle);
  if (connection == nullptr) {
    error = InvalidHandle("RFC_CONNECTION_HANDLE");
    return error.code;
  }
  const auto found = library.functions.find(functionHandle);
  if (found == library.functions.end()) {
    error = InvalidHandle("RFC_FUNCTION_HANDLE");
    return error.code;
  }
  Container& function = *found->second;
  const simsap::ModuleDef& module = *function.module;
  const simsap::SystemEntry& system = *connection->system;
  const InvokePlans plans = InvokePlan(system, module.name);

  simsap::Carry(plans.call);
  if (system.failingCalls.count(module.name) != 0) {
    connection->closed = true;
    error = Injected(system, Failure(RFC_COMMUNICATION_FAILURE, COMMUNICATION_FAILURE,
                                     "RFC_COMMUNICATION_FAILURE",
                                     std::string("connection to partner broken while calling ") +
                                         module.name));
    return error.code;
  }
  simsap::Carry(plans.receive);
  const auto fault = system.receiveFaults.find(module.name);
  if (fault != system.receiveFaults.end()) {
    error = ReceiveFailure(module.name, fault->second);
    // The key of an ABAP exception is the exception's name, whatever the landscape says.
    const std::string exceptionName = error.key;
    error = Injected(system, error);
    if (error.code == RFC_ABAP_EXCEPTION && fault->second.code == 2) error.key = exceptionName;
    if (error.code == RFC_COMMUNICATION_FAILURE || error.code == RFC_ABAP_RUNTIME_FAILURE ||
        error.code == RFC_ABAP_MESSAGE) {
      connection->closed = true;
    }
    return error.code;
  }

  const simsap::LocalTime now = [&library] { return library.Now(); };
  for (unsigned i = 0; i < module.exportCount; ++i) {
    const simsap::ParameterDef& parameter = module.exports[i];
    unsigned char* out = parameter.structure != nullptr
                             ? function.structures.find(parameter.name)->second->bytes.data()
                             : function.scalars.find(parameter.name)->second.data();
    simsap::WriteExport(system, parameter, out, now);
  }
  return RFC_OK;
}

}  // namespace simnwrfc
