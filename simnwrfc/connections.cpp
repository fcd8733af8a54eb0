#include "connections.h"

#include <map>
#include <string>
#include <utility>

#include "nwrfc_ini.h"
#include "sap_text.h"
#include "simsap/text.h"
#include "simsap/whole_file.h"
#include "stall_plans.h"

namespace simnwrfc {

namespace {

constexpr const char* kHostMissing = "Parameter ASHOST, GWHOST, MSHOST or PORT is missing.";

using Parameters = std::map<std::string, std::u16string>;

// The parameters by name in upper case; a name given twice counts as first given.
Parameters ReadParameters(const RFC_CONNECTION_PARAMETER* parameters, unsigned count) {
  Parameters byName;
  for (unsigned i = 0; i < count; ++i) {
    const std::string name = simsap::ToUpper(Narrow(FromSap(parameters[i].name)));
    if (!name.empty()) byName.emplace(name, FromSap(parameters[i].value));
  }
  return byName;
}

const std::u16string* Find(const Parameters& parameters, const char* name) {
  const auto found = parameters.find(name);
  return found == parameters.end() ? nullptr : &found->second;
}

// Adds the values of destination DEST from sapnwrfc.ini that the caller did not give; false
// when the file has no such destination (a missing file has none).
bool AddDestination(const Library& library, const std::u16string& name, Parameters& parameters) {
  const std::string* text = library.IniText();
  if (text == nullptr) return false;
  const std::vector<IniDestination> destinations = ParseNwRfcIni(*text);
  for (const IniDestination& destination : destinations) {
    if (Widen(destination.name) != name) continue;
    for (const auto& [key, value] : destination.values) parameters.emplace(key, Widen(value));
    return true;
  }
  return false;
}

// The block of lines SAP's network layer reports a partner it did not reach with.
std::string NotReached(const std::string& partner, const std::string& detail) {
  return "LOCATION    CPIC (TCP/IP) on local host with Unicode\n"
         "ERROR       partner '" +
         partner + "' not reached\nDETAIL      " + detail;
}

NwError CommunicationFailure(std::string message) {
  NwError error;
  error.code = RFC_COMMUNICATION_FAILURE;
  error.group = COMMUNICATION_FAILURE;
  error.key = "RFC_COMMUNICATION_FAILURE";
  error.message = std::move(message);
  return error;
}

NwError LogonFailure(std::string message) {
  NwError error;
  error.code = RFC_LOGON_FAILURE;
  error.group = LOGON_FAILURE;
  error.key = "RFC_LOGON_FAILURE";
  error.message = std::move(message);
  return error;
}

// Why the logon is refused, or nothing when `system` takes it.
std::optional<NwError> CheckLogon(const simsap::SystemEntry& system, const Parameters& parameters) {
  if (system.refuseLogon) {
    return Injected(system,
                    LogonFailure("User account is locked. Please notify the person responsible"));
  }
  const std::u16string* given = Find(parameters, "CLIENT");
  const std::u16string client = given != nullptr ? TrimTrailingBlanks(*given) : u"";
  if (client.empty()) return LogonFailure("No client given for the logon");
  given = Find(parameters, "USER");
  const std::u16string user = given != nullptr ? TrimTrailingBlanks(*given) : u"";
  given = Find(parameters, "PASSWD");
  const std::u16string password = given != nullptr ? TrimTrailingBlanks(*given) : u"";
  bool clientKnown = false;
  for (const simsap::Logon& logon : system.logons) {
    if (Widen(logon.client) != client) continue;
    clientKnown = true;
    if (EqualsNoCase(Widen(logon.user), user) && Widen(logon.password) == password) {
      return std::nullopt;
    }
  }
  if (!clientKnown) {
    return LogonFailure("Client " + Narrow(client) + " is not available in this system");
  }
  return LogonFailure("Name or password is incorrect (repeat logon)");
}

}  // namespace

RFC_CONNECTION_HANDLE OpenConnection(Library& library, const RFC_CONNECTION_PARAMETER* parameters,
                                     unsigned count, NwError& error) {
  if (count == 0) {
    error = InvalidArgument("unsigned paramCount");
    return nullptr;
  }
  if (parameters == nullptr) {
    error = InvalidArgument("RFC_CONNECTION_PARAMETER const* connectionParams");
    return nullptr;
  }
  Parameters byName = ReadParameters(parameters, count);
  if (const std::u16string* destination = Find(byName, "DEST")) {
    if (!AddDestination(library, *destination, byName)) {
      error = OwnError(RFC_INVALID_PARAMETER, kHostMissing);
      return nullptr;
    }
  }
  // Only application servers are reached: a gateway (R/2) or message server is not served.
  const std::u16string* host = Find(byName, "ASHOST");
  if (host == nullptr || host->empty()) {
    error = OwnError(RFC_INVALID_PARAMETER, kHostMissing);
    return nullptr;
  }
  const std::u16string* number = Find(byName, "SYSNR");
  if (number == nullptr || number->empty()) {
    error = OwnError(RFC_INVALID_PARAMETER, "Parameter SYSNR is missing.");
    return nullptr;
  }
  const std::string hostName = Narrow(*host);
  const std::string systemNumber = Narrow(*number);
  if (systemNumber.size() != 2 || !simsap::IsAllDigits(systemNumber)) {
    error = OwnError(RFC_INVALID_PARAMETER,
                     "Invalid value '" + systemNumber + "' of parameter SYSNR (two digits)");
    return nullptr;
  }
  const std::string partner = hostName + ":33" + systemNumber;

  std::string problem;
  const simsap::IndexedLandscape* landscape = library.GetLandscape(problem);
  if (landscape == nullptr) {
    error = CommunicationFailure(NotReached(partner, problem));
    return nullptr;
  }
  const simsap::SystemEntry* system =
      landscape->FindByServer(hostName, std::stoi(systemNumber));
  if (system == nullptr) {
    error = CommunicationFailure(NotReached(
        partner, landscape->HasServerHost(hostName)
                     ? "no system with system number " + systemNumber + " at host " + hostName
                     : "no system at host " + hostName));
    return nullptr;
  }
  simsap::Carry(OpenPlan(*system));
  if (system->refuseConnection) {
    error = Injected(*system, CommunicationFailure(NotReached(
                                  partner, "system " + system->name + " refuses every connection")));
    return nullptr;
  }
  if (std::optional<NwError> refused = CheckLogon(*system, byName)) {
    error = *refused;
    return nullptr;
  }
  auto record = std::make_unique<_RFC_CONNECTION_HANDLE>();
  const RFC_CONNECTION_HANDLE handle = record.get();
  library.connections.emplace(handle, std::make_pair(std::move(record), Connection{system, false}));
  library.ForgetUnusedSystems();
  return handle;
}

RFC_RC CloseConnection(Library& library, RFC_CONNECTION_HANDLE handle, NwError& error) {
  const auto found = library.connections.find(handle);
  if (found == library.connections.end() || found->second.second.closed) {
    if (found != library.connections.end()) {
      library.connections.erase(found);
      library.ForgetUnusedSystems();
    }
    error = InvalidHandle("RFC_CONNECTION_HANDLE");
    return error.code;
  }
  simsap::Carry(ClosePlan(*found->second.second.system));
  library.connections.erase(found);
  library.ForgetUnusedSystems();
  return RFC_OK;
}

}  // namespace simnwrfc
