#include "trace_file.h"

#include <gtest/gtest.h>

#include <string>

#include "simrfc/sim_rfc_fixture.h"

namespace kelvoran {
namespace {

TEST(TraceFileTest, EntryEndsWithItsMessageAfterTheMarker) {
  simrfc::LibraryError error =
      simrfc::MakeError(simrfc::ErrorGroup::Logon, "LOGON failed", "Name or password\nis incorrect",
                        {"user MONI", "client 100"});
  error.internalStatus = "RfcReceive";
  EXPECT_EQ(simrfc::FormatTraceEntry(true, FixedTestTime(), "RfcReceive", 12345, error),
            "**** ERROR file opened at 20241007 103001\n"
            "ERROR       RfcReceive at 10:30:01: RFC_ERROR_LOGON_FAILURE\n"
            "ERROR       status: LOGON failed\n"
            "ERROR       internal status: RfcReceive\n"
            "ERROR       user MONI\n"
            "ERROR       client 100\n"
            "T:2345 ======> Name or password is incorrect\n");
  error.status.clear();
  error.internalStatus.clear();
  error.details.clear();
  EXPECT_EQ(simrfc::FormatTraceEntry(false, FixedTestTime(), "RfcOpen", 0, error),
            "ERROR       RfcOpen at 10:30:01: RFC_ERROR_LOGON_FAILURE\n"
            "T:0000 ======> Name or password is incorrect\n");
}

TEST_F(SimRfcTest, FailuresAppendToTheTraceFileAndNothingIsPrinted) {
  dir_.Write("Dev_Rfc.Trc", "left by an earlier run\n");
  UseLandscape("[PRD]\nASHOST = sapprd01\nSYSNR = 00\nLOGON = 100 MONI secret\n");
  dir_.Write("SapRfc.ini", "DEST=PRD\nASHOST=sapprd01\nSYSNR=00\n");
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  EXPECT_EQ(OpenServer("sapold01", 0), 0u);
  RFC_ERROR_INFO_EX info{};
  EXPECT_EQ(RfcOpenEx(Text("CLIENT=100 USER=MONI PASSWD=Secret1 LANG=D DEST=PRD"), &info), 0u);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  const std::string dir = dir_.Path().string();
  EXPECT_EQ(
      Trace(),
      "left by an earlier run\n"
      "**** ERROR file opened at 20241007 103001\n"
      "ERROR       RfcOpen at 10:30:01: RFC_ERROR_COMMUNICATION\n"
      "ERROR       status: CONNECT to SAP gateway failed\n"
      "ERROR       internal status: RfcOpen\n"
      "ERROR       no system at host sapold01 in " +
          dir +
          "/Landscape.ini\n"
          "T:0000 ======> partner 'sapold01:sapgw00' not reached\n"
          "ERROR       RfcOpenEx at 10:30:01: RFC_ERROR_LOGON_FAILURE\n"
          "ERROR       status: LOGON failed\n"
          "ERROR       internal status: RfcOpenEx\n"
          "ERROR       logon of user MONI in client 100 of system PRD refused: no such user or "
          "another password\n"
          "T:0000 ======> Name or password is incorrect (repeat logon)\n");
}

TEST_F(SimRfcTest, UnwritableTraceFileLeavesTheFailureAsItIs) {
  SimRfcSetDirectory((dir_.Path() / "missing").string().c_str());
  EXPECT_EQ(OpenServer("sapprd01", 0), 0u);
  EXPECT_EQ(LastMessage(), "cannot read the landscape file " + (dir_.Path() / "missing").string() +
                               "/Landscape.ini");
}

}  // namespace
}  // namespace kelvoran
