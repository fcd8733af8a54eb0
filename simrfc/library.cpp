#include "library.h"

#include <cstdlib>
#include <memory>
#include <utility>
#include <vector>

#include "rfc_ini.h"

namespace simrfc {

namespace {

std::unique_ptr<Library>& Instance() {
  static std::unique_ptr<Library> instance = std::make_unique<Library>();
  return instance;
}

}  // namespace

void Library::SetDirectory(std::string directory) { directory_ = std::move(directory); }

std::string Library::InDirectory(const char* name) const {
  if (!directory_ || directory_->empty()) return name;
  const char last = directory_->back();
  return *directory_ + (last == '/' || last == '\\' ? "" : "/") + name;
}

std::string Library::LandscapePath() const {
  if (!directory_) {
    const char* variable = std::getenv(kLandscapeVariable);
    if (variable != nullptr && variable[0] != '\0') return variable;
  }
  return InDirectory(kLandscapeFileName);
}

std::string Library::RfcIniPath() const { return InDirectory(kRfcIniFileName); }

std::string Library::TracePath() const { return InDirectory(kTraceFileName); }

const IndexedLandscape* Library::GetLandscape(LibraryError& error) {
  if (landscape_) return &*landscape_;
  const std::string path = LandscapePath();
  std::string text;
  if (!ReadWholeFile(path, text)) {
    error = MakeError(ErrorGroup::Program, "landscape not readable",
                      "cannot read the landscape file " + path);
    return nullptr;
  }
  std::string problem;
  landscape_ = IndexedLandscape::Read(std::move(text), path, problem);
  if (!landscape_) {
    error = MakeError(ErrorGroup::Program, "landscape malformed", problem);
    return nullptr;
  }
  return &*landscape_;
}

bool Library::LoadLandscapeText(std::string_view text) {
  // Open connections point into the landscape they were opened in.
  connections.clear();
  recentSystem = nullptr;
  std::string problem;
  landscape_ = IndexedLandscape::Read(std::string(text), kLandscapeFileName, problem);
  if (!landscape_) {
    lastError = MakeError(ErrorGroup::Program, "landscape malformed", problem);
    return false;
  }
  return true;
}

void Library::ForgetUnusedSystems() {
  if (!landscape_) return;
  landscape_->ForgetEntries([this](const SystemEntry* system) {
    if (system == recentSystem) return true;
    for (const auto& [handle, connection] : connections) {
      if (connection.system == system) return true;
    }
    return false;
  });
}

void Library::Fail(const char* operation, RFC_HANDLE handle, LibraryError error) {
  if (error.internalStatus.empty()) error.internalStatus = operation;
  if (!error.untraced) trace_.Append(TracePath(), Now(), operation, handle, error);
  lastError = std::move(error);
}

bool Library::InjectedLibraryFailure(const SystemEntry* system, const char* operation,
                                     RFC_HANDLE handle) {
  if (system == nullptr || system->handlerOperations.count(operation) == 0) return false;
  Fail(operation, handle,
       InjectedError(*system,
                     MakeError(ErrorGroup::SystemFailure, "library failure",
                               std::string("internal error of the RFC library in ") + operation)));
  if (environment.errorhandler != nullptr) {
    std::vector<char> name(operation, operation + std::char_traits<char>::length(operation) + 1);
    environment.errorhandler(name.data());
  }
  return true;
}

std::tm Library::Now() const {
  if (fixedTime_) return *fixedTime_;
  const std::time_t now = std::time(nullptr);
  const std::tm* local = std::localtime(&now);
  return local != nullptr ? *local : std::tm{};
}

LibraryError InjectedError(const SystemEntry& system, LibraryError defaults) {
  const ErrorTexts& texts = system.errorTexts;
  if (texts.key) defaults.key = *texts.key;
  if (texts.status) defaults.status = *texts.status;
  if (texts.message) defaults.message = *texts.message;
  if (texts.internalStatus) defaults.internalStatus = *texts.internalStatus;
  defaults.details.push_back("fault injected by system " + system.name + " of the landscape");
  defaults.untraced = system.untracedFaults;
  return defaults;
}

Library& TheLibrary() { return *Instance(); }

void ResetLibrary() { Instance() = std::make_unique<Library>(); }

}  // namespace simrfc
