#include "rfc/library_loading.h"

#include "step_report.h"

namespace kelvoran {

namespace {

#ifdef _WIN32
constexpr const char* kSystem = "Windows";
constexpr const char* kSystemSearch = "the system folders or PATH";
#else
#if defined(__linux__)
constexpr const char* kSystem = "Linux";
#else
constexpr const char* kSystem = "this system's";
#endif
constexpr const char* kSystemSearch = "the loader's path (LD_LIBRARY_PATH, /etc/ld.so.conf.d)";
#endif

// A folder as an operator writes it, without the separator at its end.
std::string Folder(std::string folder) {
  if (folder.size() > 1 && (folder.back() == '/' || folder.back() == '\\')) folder.pop_back();
  return folder;
}

std::string WithNeeds(std::string reason, const SapLibraryFile& file) {
  if (file.needs[0] != '\0') reason += std::string(" (") + file.needs + ")";
  return reason;
}

}  // namespace

std::string LibraryNotLoadedMessage(const SapLibraryFile& file, const std::string& reason) {
  return std::string("Error 1036: SAP library ") + file.fileName + " not loaded: " + reason + " !";
}

std::string LoadFailureReason(const LoadOutcome& outcome, const SapLibraryFile& file) {
  switch (outcome.failure) {
    case LoadFailure::None:
      return std::string();
    case LoadFailure::NotFound:
      return "not found in the probe's folder" +
             (outcome.executableFolder.empty() ? "" : " " + Folder(outcome.executableFolder)) +
             ", nor in " + kSystemSearch;
    case LoadFailure::WrongKind:
      return outcome.path + " is not a " + std::to_string(sizeof(void*) * 8) + "-bit " + kSystem +
             " library";
    case LoadFailure::NeededLibraryMissing:
#ifdef _WIN32
      return WithNeeds(outcome.path + " needs a DLL that is neither beside it nor in " +
                           kSystemSearch,
                       file);
#else
      return WithNeeds(outcome.path + " needs " +
                           (outcome.detail.empty() ? std::string("a library") : outcome.detail) +
                           ", which is not in " + kSystemSearch,
                       file);
#endif
    case LoadFailure::NoAccess:
      return outcome.path + " may not be read by the probe's account";
    case LoadFailure::Other:
      break;
  }
  return outcome.path + ": " + outcome.detail;
}

std::optional<std::string> BindSapLibrary(
    RunContext& ctx, std::string_view destination, SapLibrary& sap, const SapLibraryFile& file,
    const std::function<void(const SharedLibrary& library, std::string& missing)>& findOperations) {
  if (sap.bound || sap.failure) return sap.failure;
  EnterStep(ctx, "LoadRfcLibrary", destination);
  const LoadOutcome outcome = sap.library.Load(file.fileName);
  if (outcome.failure != LoadFailure::None) {
    sap.failure = LibraryNotLoadedMessage(file, LoadFailureReason(outcome, file));
    return sap.failure;
  }
  std::string missing;
  findOperations(sap.library, missing);
  if (!missing.empty()) {
    const bool several = missing.find(',') != std::string::npos;
    sap.failure = LibraryNotLoadedMessage(
        file, outcome.path + " lacks the operation" + (several ? "s " : " ") + missing);
    return sap.failure;
  }
  sap.bound = true;
  return std::nullopt;
}

}  // namespace kelvoran
