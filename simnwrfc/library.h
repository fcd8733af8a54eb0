/// The library's one context: everything the simulated NW RFC library keeps between calls.
///
/// The C functions of the library have no context argument, so this state lives in one
/// static instance behind them (TheLibrary); nothing else in the library is static.
#ifndef KELVORAN_SIMNWRFC_LIBRARY_H
#define KELVORAN_SIMNWRFC_LIBRARY_H

#include <ctime>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "nwrfc_declarations.h"
#include "simsap/function_modules.h"
#include "simsap/indexed_landscape.h"

namespace simnwrfc {

/// An open connection to a simulated system.
struct Connection {
  const simsap::SystemEntry* system = nullptr;
  /// The partner ended the connection after a failure; every further call on it fails.
  bool closed = false;
};

/// A function or one of its structures: the bytes of its values in the layouts of the
/// function module's parameters.
struct Container {
  _RFC_DATA_CONTAINER record{};
  /// The function module of a function; null for a structure.
  const simsap::ModuleDef* module = nullptr;
  /// The record type of a structure; null for a function.
  const simsap::StructureDef* structure = nullptr;
  /// A structure's bytes, StructureLength long.
  std::vector<unsigned char> bytes;
  /// A function's scalar export parameters, by name, each its field's length long.
  std::map<std::string, std::vector<unsigned char>, std::less<>> scalars;
  /// A function's structure export parameters, by name; they belong to the function.
  std::map<std::string, std::unique_ptr<Container>, std::less<>> structures;
};

class Library {
 public:
  /// Takes the landscape and sapnwrfc.ini from `directory` instead of the working directory
  /// (and the landscape file no longer from SIMRFC_LANDSCAPE).
  void SetDirectory(std::string directory) {
    directory_ = std::move(directory);
    iniText_.reset();
  }
  /// RfcSetIniPath: sapnwrfc.ini from `directory` from now on, read anew at the next need.
  void SetIniDirectory(std::string directory) {
    iniDirectory_ = std::move(directory);
    iniText_.reset();
  }
  /// The text of sapnwrfc.ini, read at the first need and kept, as SAP's library keeps it
  /// until told its directory again (RfcSetIniPath); null while there is no file to read.
  const std::string* IniText() const;
  std::string LandscapePath() const;
  std::string IniPath() const;

  /// The landscape, read from its file on first need and kept; null with `error` set when it
  /// cannot be read (the file is tried again at the next need).
  const simsap::IndexedLandscape* GetLandscape(std::string& error);
  /// Takes the landscape from `text` instead of its file, closing every connection; false
  /// with `error` set when the text is malformed.
  bool LoadLandscapeText(std::string_view text, std::string& error);
  /// Forgets the landscape entries of systems that no open connection refers to.
  void ForgetUnusedSystems();

  /// The local time: the clock's, or the one fixed for tests.
  std::tm Now() const;
  void FixTime(const std::tm& time) { fixedTime_ = time; }

  /// The open connections, by handle; a closed connection's handle is forgotten.
  std::map<RFC_CONNECTION_HANDLE, std::pair<std::unique_ptr<_RFC_CONNECTION_HANDLE>, Connection>>
      connections;
  /// One description per function module, handed out for every connection.
  std::map<const simsap::ModuleDef*, std::unique_ptr<_RFC_FUNCTION_DESC_HANDLE>> descriptions;
  /// The functions created and not yet destroyed, by handle.
  std::map<DATA_CONTAINER_HANDLE, std::unique_ptr<Container>> functions;

  /// The connection of `handle` that may still be used, or null.
  Connection* FindConnection(RFC_CONNECTION_HANDLE handle);
  /// The module of a description handle of this library, or null.
  const simsap::ModuleDef* FindDescription(RFC_FUNCTION_DESC_HANDLE handle) const;
  /// The function or structure of `handle`, or null.
  Container* FindContainer(DATA_CONTAINER_HANDLE handle);

 private:
  std::string InDirectory(const std::optional<std::string>& directory, const char* name) const;

  std::optional<std::string> directory_, iniDirectory_;
  mutable std::optional<std::string> iniText_;
  std::optional<simsap::IndexedLandscape> landscape_;
  std::optional<std::tm> fixedTime_;
};

/// The library's one instance.
Library& TheLibrary();
/// Replaces the instance by a fresh one.
void ResetLibrary();

}  // namespace simnwrfc

#endif
