// A fixture for in-process tests of the simulated RFC library: a fresh library whose files
// live in a temporary directory and a fixed local time. It declares none of the RFC records, so
// tests of the probe's own calls (which use the probe's declarations) build on it too.
#ifndef KELVORAN_TESTS_SIMRFC_SIM_LIBRARY_FIXTURE_H
#define KELVORAN_TESTS_SIMRFC_SIM_LIBRARY_FIXTURE_H

#include <gtest/gtest.h>

#include <ctime>
#include <string>

#include "simrfc_control.h"
#include "support/fixed_time.h"
#include "support/temp_dir.h"

namespace kelvoran {

class SimLibraryTest : public ::testing::Test {
 protected:
  SimLibraryTest() {
    SimRfcReset();
    SimRfcSetDirectory(dir_.Path().string().c_str());
    SimRfcFixLocalTime(FixedTestTime());
  }
  ~SimLibraryTest() override { SimRfcReset(); }

  void UseLandscape(const char* text) {
    ASSERT_TRUE(SimRfcLoadLandscapeText(text)) << SimRfcLastErrorMessage();
  }

  static std::string LastMessage() { return SimRfcLastErrorMessage(); }

  std::string Trace() const { return dir_.ReadText("Dev_Rfc.Trc"); }

  TempDir dir_;
};

}  // namespace kelvoran

#endif
