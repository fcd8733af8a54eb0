/// The library's one context: everything the simulated RFC library keeps between calls.
///
/// The C functions of the library have no context argument, so this state lives in one
/// static instance behind them (TheLibrary); nothing else in the library is static.
#ifndef KELVORAN_SIMRFC_LIBRARY_H
#define KELVORAN_SIMRFC_LIBRARY_H

#include <ctime>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "simulated_systems.h"
#include "internal_tables.h"
#include "library_error.h"
#include "sap_declarations.h"
#include "structures.h"
#include "trace_file.h"

namespace simrfc {

/// An open connection to a simulated system.
struct Connection {
  RFC_HANDLE handle = 0;
  const SystemEntry* system = nullptr;
  /// Logon data, trailing blanks removed; the user in upper case.
  std::string client, user, password, language;
  /// Opened with RfcOpen: the logon is checked at the first call.
  bool logonPending = false;
  /// The partner ended the connection; every further call on it fails.
  bool broken = false;
  /// The module sent by RfcCall and not yet received, or null.
  const ModuleDef* pendingCall = nullptr;
  /// The logon refused at the first call, reported by the RfcReceive that follows it.
  std::optional<LibraryError> refusedLogon;
};

class Library {
 public:
  /// Takes the landscape, SapRfc.ini and Dev_Rfc.Trc from `directory` instead of the working
  /// directory (and the landscape file no longer from SIMRFC_LANDSCAPE).
  void SetDirectory(std::string directory);
  std::string LandscapePath() const;
  std::string RfcIniPath() const;
  std::string TracePath() const;

  /// The landscape, read from its file on first need and kept; null with `error` set when it
  /// cannot be read (the file is tried again at the next need).
  const IndexedLandscape* GetLandscape(LibraryError& error);
  /// Forgets the landscape entries of systems that neither an open connection nor
  /// `recentSystem` refers to; called whenever a connection opens or closes.
  void ForgetUnusedSystems();
  /// Takes the landscape from `text` instead of its file; false with the last error set when
  /// the text is malformed.
  bool LoadLandscapeText(std::string_view text);

  /// Records a failure of `operation`: it becomes the last error and goes to the trace file.
  void Fail(const char* operation, RFC_HANDLE handle, LibraryError error);
  /// When `system` injects a library failure into `operation`: records it, calls the
  /// installed error handler and returns true (if the handler returns, the operation fails).
  bool InjectedLibraryFailure(const SystemEntry* system, const char* operation, RFC_HANDLE handle);

  /// The local time: the clock's, or the one fixed for tests.
  std::tm Now() const;
  void FixTime(const std::tm& time) { fixedTime_ = time; }

  RFC_ENV environment{};
  StructureRegistry structures;
  TableRegistry tables;
  std::map<RFC_HANDLE, Connection> connections;
  RFC_HANDLE nextHandle = 1;
  /// The system of the most recently opened connection: calls without a connection handle
  /// (RfcInstallStructure, ItCreate, ItDelete) take their faults from it.
  const SystemEntry* recentSystem = nullptr;
  std::optional<LibraryError> lastError;
  /// The exception name handed out by the last RfcReceive; lives until the next one.
  std::string exception;

 private:
  std::string InDirectory(const char* name) const;

  std::optional<std::string> directory_;
  std::optional<IndexedLandscape> landscape_;
  TraceFile trace_;
  std::optional<std::tm> fixedTime_;
};

/// `defaults` with the texts that `system`'s landscape entry gives for its injected faults.
LibraryError InjectedError(const SystemEntry& system, LibraryError defaults);

/// The library's one instance.
Library& TheLibrary();
/// Replaces the instance by a fresh one.
void ResetLibrary();

}  // namespace simrfc

#endif
