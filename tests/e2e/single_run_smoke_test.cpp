// A measured system and a refused one, end to end against the simulated library.
#include <gtest/gtest.h>

#include "e2e/probe_fixture.h"

namespace kelvoran {
namespace {

constexpr const char* kLandscape =
    "[PRD]\nASHOST = sapprd01\nSYSNR = 00\nLOGON = 100 MONI PrdMoni01\n"
    "FS_A_DATE = 20241007\nFS_A_TIME = 061500\nRFCSYSID = PRD\nSYSID = PRD\n"
    "TAB_CNT = 41234\nCST_CNT = 40877\nIDX_CNT = 61590\n";

TEST(SingleRunSmokeTest, MeasuredSystem) {
  ProbeDirectory dir;
  dir.WriteLandscape(kLandscape);
  dir.WriteProfile("PRD.P00", ProfileSettings{});
  const ProcessResult result = dir.Run({"PRD", "FLAVOUR=Quellon"});
  EXPECT_EQ(result.out,
            "\n<Prtg>\n\n<Text>(PRD) Kelvoran: Info=DB4,Date=20241007,Time=061500,Sid=PRD     "
            "</Text>\n"
            "\n<Result><Channel>No.of DB-Tables</Channel>\n<Value>41234</Value></Result>\n"
            "\n<Result><Channel>No.of Prim.Keys</Channel>\n<Value>40877</Value></Result>\n"
            "\n<Result><Channel>No.of Indexes</Channel>\n<Value>61590</Value></Result>\n"
            "\n</Prtg>\n");
  EXPECT_EQ(result.status, 0);
}

TEST(SingleRunSmokeTest, RefusedConnection) {
  ProbeDirectory dir;
  dir.WriteLandscape(kLandscape);
  ProfileSettings settings;
  settings.hostname = "sapold01";
  dir.WriteProfile("PRD.P00", settings);
  const ProcessResult result = dir.Run({"PRD", "FLAVOUR=Quellon"});
  EXPECT_EQ(result.out, ErrorDocument("Error 1011: RFC-Open for PRD failed !"));
  EXPECT_EQ(result.status, 2);
}

}  // namespace
}  // namespace kelvoran
