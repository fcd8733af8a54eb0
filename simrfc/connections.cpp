#include "connections.h"

#include <cstdio>
#include <cstring>

#include "connect_string.h"
#include "rfc_ini.h"
#include "simulated_systems.h"

namespace simrfc {

namespace {

std::string TwoDigits(int number) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d", number);
  return text;
}

LibraryError Misuse(const std::string& message) {
  return MakeError(ErrorGroup::Program, "wrong call", message);
}

LibraryError NotReached(const std::string& partner, const std::string& why) {
  return MakeError(ErrorGroup::Communication, "CONNECT to SAP gateway failed",
                   "partner '" + partner + "' not reached", {why});
}

// The system at an application server, or null with the reason in `error`.
const SystemEntry* ReachServer(const Library& library, const IndexedLandscape& landscape,
                               const char* host, int systemNumber, LibraryError& error) {
  if (host == nullptr || host[0] == '\0') {
    error = Misuse("no application server host given");
    return nullptr;
  }
  if (systemNumber < 0 || systemNumber > 99) {
    error = Misuse("system number " + std::to_string(systemNumber) + " is not from 00 to 99");
    return nullptr;
  }
  const std::string number = TwoDigits(systemNumber);
  if (const SystemEntry* system = landscape.FindByServer(host, systemNumber)) return system;
  const std::string where = landscape.HasServerHost(host)
                                ? "no system with system number " + number + " at host " + host
                                : std::string("no system at host ") + host;
  error =
      NotReached(std::string(host) + ":sapgw" + number, where + " in " + library.LandscapePath());
  return nullptr;
}

// The system behind a gateway, or null with the reason in `error`.
const SystemEntry* ReachGateway(const Library& library, const IndexedLandscape& landscape,
                                const char* host, const char* service, LibraryError& error) {
  if (host == nullptr || host[0] == '\0') {
    error = Misuse("no gateway host given");
    return nullptr;
  }
  if (service == nullptr || service[0] == '\0') {
    error = Misuse("no gateway service given");
    return nullptr;
  }
  if (const SystemEntry* system = landscape.FindByGateway(host, service)) return system;
  const std::string where =
      landscape.HasGatewayHost(host)
          ? std::string("no system behind service ") + service + " of gateway " + host
          : std::string("no gateway at host ") + host;
  error = NotReached(std::string(host) + ":" + service, where + " in " + library.LandscapePath());
  return nullptr;
}

LibraryError RefusedConnection(const SystemEntry& system) {
  const std::string partner = system.asHost.empty()
                                  ? system.gwHost + ":" + system.gwService
                                  : system.asHost + ":sapgw" + TwoDigits(system.systemNumber);
  return InjectedError(system,
                       NotReached(partner, "system " + system.name + " refuses every connection"));
}

RFC_HANDLE Register(Library& library, Connection connection) {
  connection.handle = library.nextHandle++;
  library.recentSystem = connection.system;
  const RFC_HANDLE handle = connection.handle;
  library.connections.emplace(handle, std::move(connection));
  library.ForgetUnusedSystems();
  return handle;
}

}  // namespace

std::optional<LibraryError> CheckLogon(const SystemEntry& system, const std::string& client,
                                       const std::string& user, const std::string& password) {
  const std::string who = "user " + user + " in client " + client + " of system " + system.name;
  if (system.refuseLogon) {
    return InjectedError(system,
                         MakeError(ErrorGroup::Logon, "LOGON failed",
                                   "User account is locked. Please notify the person responsible",
                                   {"logon of " + who + " refused"}));
  }
  if (client.empty()) {
    return MakeError(ErrorGroup::Logon, "LOGON failed", "No client given for the logon",
                     {"logon of " + who + " refused"});
  }
  bool clientKnown = false;
  for (const Logon& logon : system.logons) {
    if (logon.client != client) continue;
    clientKnown = true;
    if (EqualsNoCase(logon.user, user) && logon.password == password) return std::nullopt;
  }
  if (!clientKnown) {
    return MakeError(ErrorGroup::Logon, "LOGON failed",
                     "Client " + client + " is not available in this system",
                     {"system " + system.name + " has no logon in client " + client});
  }
  return MakeError(ErrorGroup::Logon, "LOGON failed",
                   "Name or password is incorrect (repeat logon)",
                   {"logon of " + who + " refused: no such user or another password"});
}

RFC_HANDLE OpenWithOptions(Library& library, const RFC_OPTIONS* options) {
  const char* operation = "RfcOpen";
  if (options == nullptr) {
    library.Fail(operation, 0, Misuse("RfcOpen called without connection options"));
    return 0;
  }
  LibraryError error;
  const IndexedLandscape* landscape = library.GetLandscape(error);
  const SystemEntry* system = nullptr;
  if (landscape != nullptr) {
    if (options->mode == 0) {
      const auto* server = static_cast<const RFC_CONNOPT_R3ONLY*>(options->connopt);
      if (server == nullptr) {
        error = Misuse("mode 0 without server parameters");
      } else {
        system = ReachServer(library, *landscape, server->hostname, server->sysnr, error);
      }
    } else if (options->mode == 1) {
      const auto* gateway = static_cast<const RFC_CONNOPT_CPIC*>(options->connopt);
      if (gateway == nullptr) {
        error = Misuse("mode 1 without gateway parameters");
      } else {
        system = ReachGateway(library, *landscape, gateway->gateway_host,
                              gateway->gateway_service, error);
      }
    } else {
      error = Misuse("connection mode " + std::to_string(options->mode) +
                     " is neither 0 (application server) nor 1 (R/2 through a gateway)");
    }
  }
  if (system == nullptr) {
    library.Fail(operation, 0, error);
    return 0;
  }
  Stall(*system, operation, system->openDelay);
  if (library.InjectedLibraryFailure(system, operation, 0)) return 0;
  if (system->refuseConnection) {
    library.Fail(operation, 0, RefusedConnection(*system));
    return 0;
  }
  Connection connection;
  connection.system = system;
  connection.client = TrimTrailingBlanks(FromC(options->client));
  connection.user = ToUpper(TrimTrailingBlanks(FromC(options->user)));
  connection.password = TrimTrailingBlanks(FromC(options->password));
  connection.language = TrimTrailingBlanks(FromC(options->language));
  connection.logonPending = true;
  return Register(library, std::move(connection));
}

RFC_HANDLE OpenWithConnectString(Library& library, const char* connectString,
                                RFC_ERROR_INFO_EX* errorInfo) {
  const char* operation = "RfcOpenEx";
  auto refuse = [&](const LibraryError* error) -> RFC_HANDLE {
    if (error != nullptr) library.Fail(operation, 0, *error);
    if (errorInfo != nullptr && library.lastError) {
      errorInfo->group = static_cast<int>(library.lastError->group);
      CopyCut(errorInfo->key, sizeof errorInfo->key, library.lastError->key);
      CopyCut(errorInfo->message, sizeof errorInfo->message, library.lastError->message);
    }
    return 0;
  };

  if (connectString == nullptr) {
    const LibraryError error = Misuse("RfcOpenEx called without a connect string");
    return refuse(&error);
  }
  ConnectParameters parameters;
  if (std::optional<std::string> problem = ParseConnectString(connectString, parameters)) {
    const LibraryError error = Misuse(*problem);
    return refuse(&error);
  }
  if (parameters.destination.empty()) {
    const LibraryError error = Misuse("no destination (DEST=) in the connect string");
    return refuse(&error);
  }
  LibraryError error;
  const IndexedLandscape* landscape = library.GetLandscape(error);
  if (landscape == nullptr) return refuse(&error);

  const std::string iniPath = library.RfcIniPath();
  std::string iniText;
  {
    std::FILE* file = std::fopen(iniPath.c_str(), "rb");
    if (file == nullptr) {
      error = MakeError(ErrorGroup::Program, "destination unknown",
                        "cannot read " + iniPath + " for destination " + parameters.destination);
      return refuse(&error);
    }
    char block[4096];
    std::size_t got;
    while ((got = std::fread(block, 1, sizeof block, file)) > 0) iniText.append(block, got);
    std::fclose(file);
  }
  const RfcIniResult ini = ParseRfcIni(iniText, iniPath);
  if (!ini.error.empty()) {
    error = MakeError(ErrorGroup::Program, "destination unknown", ini.error);
    return refuse(&error);
  }
  const RfcDestination* destination = FindDestination(ini.destinations, parameters.destination);
  if (destination == nullptr) {
    error = MakeError(ErrorGroup::Program, "destination unknown",
                      "destination " + parameters.destination + " not found in " + iniPath);
    return refuse(&error);
  }
  const SystemEntry* system = destination->viaGateway
                                  ? ReachGateway(library, *landscape, destination->gwHost.c_str(),
                                                 destination->gwService.c_str(), error)
                                  : ReachServer(library, *landscape, destination->asHost.c_str(),
                                                destination->systemNumber, error);
  if (system == nullptr) return refuse(&error);
  Stall(*system, operation, system->openDelay);
  if (library.InjectedLibraryFailure(system, operation, 0)) return refuse(nullptr);
  if (system->refuseConnection) {
    error = RefusedConnection(*system);
    return refuse(&error);
  }
  const std::string user = ToUpper(TrimTrailingBlanks(parameters.user));
  const std::string client = TrimTrailingBlanks(parameters.client);
  const std::string password = TrimTrailingBlanks(parameters.password);
  if (std::optional<LibraryError> refused = CheckLogon(*system, client, user, password)) {
    return refuse(&*refused);
  }
  Connection connection;
  connection.system = system;
  connection.client = client;
  connection.user = user;
  connection.password = password;
  connection.language = parameters.language;
  return Register(library, std::move(connection));
}

Connection* UsableConnection(Library& library, RFC_HANDLE handle, const char* operation) {
  std::string problem;
  if (handle == 0) {
    problem = "no connection handle given";
  } else {
    const auto found = library.connections.find(handle);
    if (found != library.connections.end() && !found->second.broken) return &found->second;
    if (found != library.connections.end()) {
      library.Fail(operation, handle,
                   MakeError(ErrorGroup::Communication, "connection closed",
                             "connection to partner " + found->second.system->name +
                                 " was closed by the partner after an earlier failure"));
      return nullptr;
    }
    problem = "connection handle " + std::to_string(handle) +
              (handle < library.nextHandle ? " is closed" : " was never opened");
  }
  library.Fail(operation, handle, Misuse(problem));
  return nullptr;
}

void CloseConnection(Library& library, RFC_HANDLE handle) {
  const char* operation = "RfcClose";
  if (handle == 0) return;
  const auto found = library.connections.find(handle);
  if (found == library.connections.end()) {
    library.Fail(
        operation, handle,
        Misuse("connection handle " + std::to_string(handle) +
               (handle < library.nextHandle ? " is closed already" : " was never opened")));
    return;
  }
  Stall(*found->second.system, operation, 0);
  // An injected failure hits the close, but the connection ends all the same.
  library.InjectedLibraryFailure(found->second.system, operation, handle);
  library.connections.erase(handle);
  library.ForgetUnusedSystems();
}

}  // namespace simrfc
