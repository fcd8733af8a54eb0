// The test control of the simulated NW RFC library.
#include "library.h"
#include "simnwrfc_control.h"

void SimNwRfcReset() { simnwrfc::ResetLibrary(); }

void SimNwRfcSetDirectory(const char* directory) {
  simnwrfc::TheLibrary().SetDirectory(directory != nullptr ? directory : "");
}

bool SimNwRfcLoadLandscapeText(const char* text, std::string* error) {
  std::string problem;
  const bool read = simnwrfc::TheLibrary().LoadLandscapeText(text != nullptr ? text : "", problem);
  if (error != nullptr) *error = problem;
  return read;
}

void SimNwRfcFixLocalTime(const std::tm& time) { simnwrfc::TheLibrary().FixTime(time); }
