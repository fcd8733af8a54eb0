/// SAP's library loaded while the probe runs, whichever library the probe is built for: found
/// as platform/shared_library.h describes, its operations found by name, and the Error 1036
/// message when either fails.
#ifndef KELVORAN_RFC_LIBRARY_LOADING_H
#define KELVORAN_RFC_LIBRARY_LOADING_H

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/shared_library.h"

namespace kelvoran {

struct RunContext;

/// What the probe looks for, and what an operator must put where it can be found with it.
struct SapLibraryFile {
  /// The file name: "LIBRFC32.dll", "sapnwrfc.dll", "libsapnwrfc.so".
  const char* fileName;
  /// The libraries SAP delivers it with and it cannot load without, in an operator's words,
  /// for the message when one of them is missing; empty when there is nothing to name.
  const char* needs;
};

/// SAP's library for the whole process: loaded once, and whether its table of operations is
/// complete (or, after a failure, the message the run ended with).
struct SapLibrary {
  SharedLibrary library;
  bool bound = false;
  std::optional<std::string> failure;
};

/// Loads `file` into `sap.library` and has `findOperations` find the operations there (it fills
/// the table with FindOperation, which adds the name of every operation not found to
/// `missing`): on the first call of the process only, reported as the step "LoadRfcLibrary"
/// for `destination`; later calls give the first call's result. Returns the Error 1036 message
/// when the library cannot be loaded or lacks an operation.
std::optional<std::string> BindSapLibrary(
    RunContext& ctx, std::string_view destination, SapLibrary& sap, const SapLibraryFile& file,
    const std::function<void(const SharedLibrary& library, std::string& missing)>& findOperations);

/// Finds the operation `name` as `into`; when it is not there, adds `name` to `missing`
/// (", " between names).
template <typename Function>
void FindOperation(const SharedLibrary& library, const char* name, Function*& into,
                   std::string& missing) {
  into = reinterpret_cast<Function*>(library.Find(name));
  if (into != nullptr) return;
  if (!missing.empty()) missing += ", ";
  missing += name;
}

/// The Error 1036 message: "Error 1036: SAP library <file> not loaded: <reason> !".
std::string LibraryNotLoadedMessage(const SapLibraryFile& file, const std::string& reason);

/// The reason of a failed load, in an operator's words: where the probe looked, or what is
/// wrong with the file it found.
std::string LoadFailureReason(const LoadOutcome& outcome, const SapLibraryFile& file);

}  // namespace kelvoran

#endif
