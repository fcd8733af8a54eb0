// The test control of the simulated RFC library.
#include "library.h"
#include "simrfc_control.h"
#include "simulated_systems.h"

void SimRfcReset() { simrfc::ResetLibrary(); }

void SimRfcSetDirectory(const char* directory) {
  simrfc::TheLibrary().SetDirectory(simrfc::FromC(directory));
}

bool SimRfcLoadLandscapeText(const char* text) {
  return simrfc::TheLibrary().LoadLandscapeText(text != nullptr ? text : "");
}

void SimRfcFixLocalTime(const std::tm& time) { simrfc::TheLibrary().FixTime(time); }

std::vector<std::string> SimRfcTableRows(void* table) {
  const simrfc::InternalTable* found = simrfc::TheLibrary().tables.Find(table);
  return found != nullptr ? found->rows : std::vector<std::string>();
}

std::string SimRfcLastErrorMessage() {
  const std::optional<simrfc::LibraryError>& error = simrfc::TheLibrary().lastError;
  return error ? error->message : std::string();
}
