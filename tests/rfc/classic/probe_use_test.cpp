// The probe's own RFC steps against the simulated library: the probe's descriptions pass the
// library's checks, and each way a system fails reaches the probe's message and trace tail.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "rfc/classic/library_state.h"
#include "rfc/classic/trace_scan.h"
#include "rfc/connection.h"
#include "rfc/db4_query.h"
#include "rfc/system_info.h"
#include "simrfc/sim_library_fixture.h"
#include "support/test_context.h"

namespace kelvoran {
namespace {

const std::string kPrd =
    "[PRD]\n"
    "ASHOST = sapprd01.example.com\n"
    "SYSNR = 07\n"
    "LOGON = 100 MONI secret\n"
    "RFCDBSYS = DB4\n";

class ProbeUseTest : public SimLibraryTest {
 protected:
  ProbeUseTest() : cwd_(dir_.Path()) {
    SimRfcSetDirectory(nullptr);  // the probe's working directory, as in a real run
    SystemProfile& p = t_.ctx.profile;
    p.destination = "PRD";
    p.client = "100";
    p.user = "MONI";
    p.password = "secret";
    p.language = "E";
    p.mode = "R/3";
    p.hostname = "sapprd01.example.com";
    p.sysnr = "07";
    t_.ctx.globalRun = true;  // no result document: the steps' outcome is what counts here
  }

  // Opens, checks and queries as a run does; the output holds the failure text and tail.
  std::string Run() {
    const RfcHandle handle = OpenConnection(t_.ctx);
    if (handle == 0) return "not opened: " + LastMessage();
    t_.ctx.callStatus = kCallFailed;
    if (CheckSystemInfo(t_.ctx, handle) == 0) {
      if (t_.ctx.databaseSystem.compare(0, 3, "DB4") != 0) {
        Rfc(t_.ctx).RfcClose(handle);
        return "database " + t_.ctx.databaseSystem;
      }
      t_.ctx.callStatus = kCallFailed;
      QueryDb4Info(t_.ctx, handle);
    }
    Rfc(t_.ctx).RfcClose(handle);
    if (t_.ctx.callStatus == kCallFailed) ScanTraceFile(t_.ctx);
    return t_.ctx.output.Text();
  }

  ScopedWorkingDirectory cwd_;
  TestContext t_;
};

TEST_F(ProbeUseTest, StepsOfTheProbeAgainstEachKindOfSystem) {
  struct Case {
    const char* label;
    std::string landscape;
    const char* password;
    std::string output;
  } cases[] = {
      {"measured", kPrd, "secret", ""},
      {"module exception", kPrd + "FAIL_RECEIVE = RFC_SYSTEM_INFO 2 NOT_AUTHORIZED\n", "secret",
       "Error 1012: Exception.: NOT_AUTHORIZED - RFC_SYSTEM_INFO raised the exception "
       "NOT_AUTHORIZED"},
      {"logon refused at the first call", kPrd, "wrong",
       "Error 1013: Sys-Exception raised ! - Name or password is incorrect (repeat logon)"},
      {"query call broken", kPrd + "FAIL_CALL = DB02_DB4_GET_INFO\n", "secret",
       "Error 1014: RFC-Failure raised ! - connection to partner broken while calling "
       "DB02_DB4_GET_INFO"},
      {"other return code", kPrd + "FAIL_RECEIVE = DB02_DB4_GET_INFO -1\n", "secret",
       "Error 1015: Other Failure raised ! - DB02_DB4_GET_INFO ended with return code -1"},
      {"unknown host", "[QAS]\nASHOST = sapqas01\nSYSNR = 07\n", "secret",
       "not opened: partner 'sapprd01.example.com:sapgw07' not reached"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    UseLandscape(c.landscape.c_str());
    t_.ctx.output.Clear();
    t_.ctx.profile.password = c.password;
    EXPECT_EQ(Run(), c.output);
    if (c.output.empty()) {
      EXPECT_EQ(t_.ctx.callStatus, kCallOk);
      EXPECT_EQ(t_.ctx.displayHost, "sapprd01");
      EXPECT_EQ(t_.ctx.databaseSystem, "DB4       ");
      EXPECT_EQ(Trace(), "");
    }
  }
}

TEST_F(ProbeUseTest, DestinationRouteOpensThroughTheCopiedSapRfcIni) {
  UseLandscape(kPrd.c_str());
  dir_.Write("SapRfc.PRD", "DEST=PRD\nTYPE=A\nASHOST=sapprd01.example.com\nSYSNR=07\n");
  t_.ctx.profile.hostname = "elsewhere";
  EXPECT_EQ(Run(), "");
  EXPECT_EQ(t_.ctx.callStatus, kCallOk);

  t_.ctx.profile.password = "wrong";
  EXPECT_EQ(Run(), "not opened: Name or password is incorrect (repeat logon)");
}

std::string DemoFile(const std::string& name) {
  std::ifstream in(std::string(KELVORAN_TEST_SOURCE_DIR) + "/demo/" + name, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

TEST_F(ProbeUseTest, DemoLandscapeAnswersAsItsProfilesExpect) {
  dir_.Write("Landscape.ini", DemoFile("Landscape.ini"));
  dir_.Write("SapRfc.QAS", DemoFile("SapRfc.QAS"));
  struct Case {
    const char* destination;
    const char* host;
    const char* sysnr;
    const char* client;
    const char* password;
    std::string output;
  } cases[] = {
      {"PRD", "sapprd01", "00", "100", "PrdMoni01", ""},
      {"QAS", "", "", "200", "QasMoni02", ""},
      {"DEV", "sapdev01", "20", "300", "DevMoni03",
       "Error 1012: Exception.: NOT_AUTHORIZED - No RFC authorization for function group SRFC"},
      {"ORA", "sapora01", "30", "100", "OraMoni04", "database ORACLE    "},
      {"OLD", "sapold01", "00", "100", "OldMoni06",
       "not opened: partner 'sapold01:sapgw00' not reached"},
      // Without the probe's error handler, which would end the process here.
      {"LIB", "saplib01", "40", "100", "LibMoni05",
       "Error 1014: RFC-Failure raised ! - connection reset by peer"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.destination);
    SystemProfile& p = t_.ctx.profile;
    p.destination = c.destination;
    p.hostname = c.host;
    p.sysnr = c.sysnr;
    p.client = c.client;
    p.password = c.password;
    t_.ctx.output.Clear();
    EXPECT_EQ(Run(), c.output);
  }
  EXPECT_EQ(Trace().find("Moni0"), std::string::npos);
}

}  // namespace
}  // namespace kelvoran
