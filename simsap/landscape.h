/// The landscape: the simulated SAP systems, as described in the landscape file, with how each
/// is reached, who may log on, what it answers and which faults it shows.
#ifndef KELVORAN_SIMSAP_LANDSCAPE_H
#define KELVORAN_SIMSAP_LANDSCAPE_H

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace simsap {

/// The fixed name of the landscape file in the working directory.
inline constexpr const char* kLandscapeFileName = "Landscape.ini";
/// The environment variable that may name another landscape file.
inline constexpr const char* kLandscapeVariable = "SIMRFC_LANDSCAPE";

struct Logon {
  std::string client, user, password;
};

/// What RfcReceive returns for one function module instead of the answer.
struct ReceiveFault {
  int code = 0;
  std::string exception;
};

/// Texts that replace the defaults of the last error that a system's injected faults leave.
struct ErrorTexts {
  std::optional<std::string> key, status, message, internalStatus;
};

struct SystemEntry {
  std::string name;
  int line = 0;

  // How the system is reached: application server host and system number, and/or gateway
  // host and service; a system number of -1 means none was given.
  std::string asHost;
  int systemNumber = -1;
  std::string gwHost, gwService;

  std::vector<Logon> logons;

  /// Values of the answer fields given in the landscape, by SAP field name; the others take
  /// their defaults.
  std::map<std::string, std::string, std::less<>> answers;
  /// Rows of the answer tables, by table name.
  std::map<std::string, std::vector<std::string>> tableRows;

  // Injected faults.
  bool refuseConnection = false;
  bool refuseLogon = false;
  std::set<std::string> failingCalls;                 // function modules whose RfcCall fails
  std::map<std::string, ReceiveFault> receiveFaults;  // by function module
  std::set<std::string> handlerOperations;  // library operations that call the error handler
  std::set<std::string> failingInstalls;    // structure names
  std::set<std::string> failingCreates;     // internal table names
  std::set<std::string> failingDeletes;     // internal table names
  ErrorTexts errorTexts;
  /// FAIL_TRACE: the faults above leave no entry in the trace file, as when it cannot be
  /// written; RfcLastError still reports them.
  bool untracedFaults = false;

  // Slow and silent systems: milliseconds RfcOpen/RfcOpenEx, RfcCall and RfcReceive wait
  // before they answer, and the operations never answered, each with a function module or ""
  // for every module.
  int openDelay = 0, callDelay = 0, receiveDelay = 0;
  std::set<std::pair<std::string, std::string>> hangs;
};

/// A way in as the landscape looks it up: the host in upper case with the system number, or
/// the gateway host and service in upper case.
using ServerKeyType = std::pair<std::string, int>;
using GatewayKeyType = std::pair<std::string, std::string>;
ServerKeyType ServerKey(std::string_view host, int systemNumber);
GatewayKeyType GatewayKey(std::string_view host, std::string_view service);

struct Landscape {
  std::vector<SystemEntry> systems;
  /// The systems by their ways in: positions in `systems`. A connection finds its system here
  /// instead of comparing it with every system.
  std::map<ServerKeyType, std::size_t> byServer;
  std::map<GatewayKeyType, std::size_t> byGateway;
};

/// The system at application server `host` (letter case ignored) with `systemNumber`, or null.
const SystemEntry* FindByServer(const Landscape& landscape, std::string_view host,
                                int systemNumber);
bool HasServerHost(const Landscape& landscape, std::string_view host);
/// The system behind gateway `host` and `service` (letter case ignored), or null.
const SystemEntry* FindByGateway(const Landscape& landscape, std::string_view host,
                                 std::string_view service);
bool HasGatewayHost(const Landscape& landscape, std::string_view host);

/// The library operations that an injected library failure can hit.
inline constexpr const char* kLibraryOperations[] = {
    "RfcOpen",    "RfcOpenEx",           "RfcClose", "RfcCall",
    "RfcReceive", "RfcInstallStructure", "ItCreate", "ItDelete"};

struct LandscapeResult {
  Landscape landscape;
  /// Empty when the text was read; otherwise "<file> line <n>: <what is wrong>".
  std::string error;
};

/// Reads a landscape from its text; `fileName` names it in error messages.
LandscapeResult ParseLandscape(std::string_view text, std::string_view fileName);

/// Receives a system of the landscape once it is read and checked, with where its lines are
/// in the text: from its [SYSTEM] line up to the next one.
using TakeSystem = std::function<void(SystemEntry&& system, std::size_t begin, std::size_t end)>;
/// Reads a landscape from its text, handing each system to `take`; `firstLine` is the number
/// of the text's first line. Returns "" when the whole text was read, otherwise its first
/// mistake ("<file> line <n>: <what is wrong>"); the systems after it are not handed on.
std::string ReadLandscape(std::string_view text, std::string_view fileName, int firstLine,
                          const TakeSystem& take);
/// Reads again a text, or a part of one from a [SYSTEM] line on, that ReadLandscape has read
/// without fault, handing each system to `take` as ReadLandscape did; the checks that cannot
/// fail for such a text are left out.
void ReadCheckedLandscape(std::string_view text, std::string_view fileName, int firstLine,
                          const TakeSystem& take);
/// `text` without the UTF-8 byte order mark a Windows editor may put at its start.
std::string_view WithoutByteOrderMark(std::string_view text);

}  // namespace simsap

#endif
