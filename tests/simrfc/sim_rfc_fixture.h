// A fixture for tests of the simulated RFC library: a fresh library whose files live in a
// temporary directory, a fixed local time, and helpers that call it the way the probe does.
#ifndef KELVORAN_TESTS_SIMRFC_SIM_RFC_FIXTURE_H
#define KELVORAN_TESTS_SIMRFC_SIM_RFC_FIXTURE_H

#include <gtest/gtest.h>

#include <cstring>
#include <ctime>
#include <string>

#include "rfc/rfc_library.h"
#include "simrfc_control.h"
#include "support/temp_dir.h"

namespace kelvoran {

/// 2024-10-07 10:30:01, the local time of every test.
inline std::tm FixedTestTime() {
  std::tm time{};
  time.tm_year = 124;
  time.tm_mon = 9;
  time.tm_mday = 7;
  time.tm_hour = 10;
  time.tm_min = 30;
  time.tm_sec = 1;
  return time;
}

class SimRfcTest : public ::testing::Test {
 protected:
  SimRfcTest() {
    SimRfcReset();
    SimRfcSetDirectory(dir_.Path().string().c_str());
    SimRfcFixLocalTime(FixedTestTime());
  }
  ~SimRfcTest() override { SimRfcReset(); }

  void UseLandscape(const char* text) {
    ASSERT_TRUE(SimRfcLoadLandscapeText(text)) << LastError().message;
  }

  static RfcErrorInfo LastError() {
    RfcErrorInfo error;
    std::memset(&error, 0, sizeof error);
    RfcLastError(&error);
    return error;
  }
  static std::string LastMessage() { return LastError().message; }

  std::string Trace() const { return dir_.ReadText("Dev_Rfc.Trc"); }

  /// RfcOpen by application server, with user and password padded as the probe pads them.
  static RfcHandle OpenServer(const char* host, int systemNumber, const char* client = "100",
                              const char* user = "MONI", const char* password = "secret") {
    std::string paddedUser = user, paddedPassword = password;
    if (paddedUser.size() < 12) paddedUser.resize(12, ' ');
    if (paddedPassword.size() < 10) paddedPassword.resize(10, ' ');
    std::string destination = "PRD", clientCopy = client, language = "E";
    ServerParameters server{const_cast<char*>(host), systemNumber, nullptr, nullptr};
    ConnectionOptions options{
        destination.data(), 0, &server, clientCopy.data(), paddedUser.data(), paddedPassword.data(),
        language.data(),    0};
    return RfcOpen(&options);
  }

  TempDir dir_;
};

}  // namespace kelvoran

#endif
