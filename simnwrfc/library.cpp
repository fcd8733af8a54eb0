#include "library.h"

#include <cstdlib>
#include <utility>

#include "simsap/whole_file.h"

namespace simnwrfc {

namespace {

std::unique_ptr<Library>& Instance() {
  static std::unique_ptr<Library> instance = std::make_unique<Library>();
  return instance;
}

}  // namespace

std::string Library::InDirectory(const std::optional<std::string>& directory,
                                 const char* name) const {
  if (!directory || directory->empty()) return name;
  const char last = directory->back();
  return *directory + (last == '/' || last == '\\' ? "" : "/") + name;
}

std::string Library::LandscapePath() const {
  if (!directory_) {
    const char* variable = std::getenv(simsap::kLandscapeVariable);
    if (variable != nullptr && variable[0] != '\0') return variable;
  }
  return InDirectory(directory_, simsap::kLandscapeFileName);
}

const std::string* Library::IniText() const {
  if (!iniText_) {
    std::string text;
    if (!simsap::ReadWholeFile(IniPath(), text)) return nullptr;
    iniText_ = std::move(text);
  }
  return &*iniText_;
}

std::string Library::IniPath() const {
  return InDirectory(iniDirectory_ ? iniDirectory_ : directory_, "sapnwrfc.ini");
}

const simsap::IndexedLandscape* Library::GetLandscape(std::string& error) {
  if (landscape_) return &*landscape_;
  const std::string path = LandscapePath();
  std::string text;
  if (!simsap::ReadWholeFile(path, text)) {
    error = "cannot read the landscape file " + path;
    return nullptr;
  }
  landscape_ = simsap::IndexedLandscape::Read(std::move(text), path, error);
  return landscape_ ? &*landscape_ : nullptr;
}

bool Library::LoadLandscapeText(std::string_view text, std::string& error) {
  // Open connections point into the landscape they were opened in.
  connections.clear();
  landscape_ = simsap::IndexedLandscape::Read(std::string(text), simsap::kLandscapeFileName, error);
  return landscape_.has_value();
}

void Library::ForgetUnusedSystems() {
  if (!landscape_) return;
  landscape_->ForgetEntries([this](const simsap::SystemEntry* system) {
    for (const auto& [handle, connection] : connections) {
      if (connection.second.system == system) return true;
    }
    return false;
  });
}

std::tm Library::Now() const {
  if (fixedTime_) return *fixedTime_;
  const std::time_t now = std::time(nullptr);
  const std::tm* local = std::localtime(&now);
  return local != nullptr ? *local : std::tm{};
}

Connection* Library::FindConnection(RFC_CONNECTION_HANDLE handle) {
  const auto found = connections.find(handle);
  if (found == connections.end() || found->second.second.closed) return nullptr;
  return &found->second.second;
}

const simsap::ModuleDef* Library::FindDescription(RFC_FUNCTION_DESC_HANDLE handle) const {
  for (const auto& [module, description] : descriptions) {
    if (description.get() == handle) return module;
  }
  return nullptr;
}

Container* Library::FindContainer(DATA_CONTAINER_HANDLE handle) {
  if (handle == nullptr) return nullptr;
  const auto function = functions.find(handle);
  if (function != functions.end()) return function->second.get();
  for (const auto& [functionHandle, container] : functions) {
    for (const auto& [name, structure] : container->structures) {
      if (&structure->record == handle) return structure.get();
    }
  }
  return nullptr;
}

Library& TheLibrary() { return *Instance(); }

void ResetLibrary() { Instance() = std::make_unique<Library>(); }

}  // namespace simnwrfc
