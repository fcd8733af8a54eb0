// The probe built for SAP's NW RFC SDK, end to end against the simulated SDK: how each way in
// and each failure comes out, where it differs from the classic library. (The cases both
// libraries share run in the other end-to-end tests, with both.)
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "e2e/probe_fixture.h"

namespace kelvoran {
namespace {

using Files = std::vector<std::pair<std::string, std::string>>;

const std::string kSystem =
    "[PRD]\nASHOST = sapprd01\nSYSNR = 00\nLOGON = 100 MONI PrdMoni01\n"
    "FS_A_DATE = 20241007\nFS_A_TIME = 061500\nTAB_CNT = 41234\nCST_CNT = 40877\n"
    "IDX_CNT = 61590\n";
const std::string kTolvane =
    "\n# (PRD) Kelvoran: Info=DB4,Date=20241007,Time=061500,Sid=PRD     "
    "\n> No.of DB-Tables: 41234 #\n> No.of Prim.Keys: 40877 #\n> No.of Indexes: 61590 #\n";
const std::string kDestinationLine = "* SapRfc.Ini.......: PRD<\n";

class NwLibraryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (ProbeUsesClassicLibrary()) GTEST_SKIP() << "the probe is built for the classic library";
  }
};

struct Case {
  const char* label;
  std::string answers;  // added to system PRD
  ProfileSettings profile;
  Files files;
  std::string out;
  std::string err;
  int status;
};

void ExpectCases(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    ProbeDirectory dir;
    dir.WriteLandscape(kSystem + c.answers);
    dir.WriteProfile("PRD.P00", c.profile);
    for (const auto& [name, content] : c.files) dir.Write(name, content);
    const ProcessResult result = dir.Run({"PRD", "FLAVOUR=Tolvane"});
    EXPECT_EQ(result.out, OnConsole(c.out));
    EXPECT_EQ(result.err, OnConsole(c.err));
    EXPECT_EQ(result.status, c.status);
  }
}

ProfileSettings R2Profile() {
  ProfileSettings settings;
  settings.mode = "R/2";
  return settings;
}

ProfileSettings WithPassword(const std::string& password) {
  ProfileSettings settings;
  settings.password = password;
  return settings;
}

// Every return code of the SDK as the numbered message it becomes, explained by the error
// record's message (of a communication failure's block of lines, its ERROR line).
TEST_F(NwLibraryTest, ReturnCodesAndTheirExplanations) {
  const std::string open = "Error 1011: RFC-Open for PRD failed ! - ";
  ExpectCases({
      {"measured", "", {}, {}, kTolvane, "", 0},
      {"refused connection", "FAIL_CONNECT = YES\n", {}, {},
       ErrorDocument(open + "partner 'sapprd01:3300' not reached"), "", 2},
      {"wrong password, refused when opening", "", WithPassword("Other1"), {},
       ErrorDocument(open + "Name or password is incorrect (repeat logon)"), "", 2},
      {"R/2 profile: no application server for this library", "", R2Profile(), {},
       ErrorDocument(open + "Parameter ASHOST, GWHOST, MSHOST or PORT is missing."), "", 2},
      {"ABAP exception: its key", "FAIL_RECEIVE = RFC_SYSTEM_INFO 2 NOT_AUTHORIZED\n", {}, {},
       ErrorDocument("Error 1012: Exception.: NOT_AUTHORIZED - RFC_SYSTEM_INFO raised the "
                     "exception NOT_AUTHORIZED"),
       "", 2},
      {"ABAP runtime failure", "FAIL_RECEIVE = DB02_DB4_GET_INFO 3\nERROR_MESSAGE = dump\n", {},
       {}, ErrorDocument("Error 1013: Sys-Exception raised ! - dump"), "", 2},
      {"ABAP message", "FAIL_RECEIVE = DB02_DB4_GET_INFO 4\nERROR_MESSAGE = type X\n", {}, {},
       ErrorDocument("Error 1013: Sys-Exception raised ! - type X"), "", 2},
      {"communication failure", "FAIL_CALL = DB02_DB4_GET_INFO\nERROR_MESSAGE = gone\n", {}, {},
       ErrorDocument("Error 1014: RFC-Failure raised ! - gone"), "", 2},
      {"any other code", "FAIL_RECEIVE = RFC_SYSTEM_INFO 13\nERROR_MESSAGE = other\n", {}, {},
       ErrorDocument("Error 1015: Other Failure raised ! - other"), "", 2},
      {"FAIL_HANDLER is classic only: no failure report, nothing injected",
       "FAIL_HANDLER = RfcCall\n", {}, {}, kTolvane, "", 0},
  });
}

// A user's SapRfc.PRD keeps working: the probe writes it over to an sapnwrfc.ini of its own and
// opens by destination; what sapnwrfc.ini cannot say is refused, Error 1011 naming the line.
TEST_F(NwLibraryTest, PerDestinationFileBecomesSapNwRfcIni) {
  const std::string open = "Error 1011: RFC-Open for PRD failed ! - ";
  ProfileSettings elsewhere;
  elsewhere.hostname = "sapold01";  // reached only through the destination's entry
  ExpectCases({
      {"classic entry, CR LF and comments", "", elsewhere,
       {{"SapRfc.PRD", "* PRD\r\nDEST=PRD\r\nTYPE=A\r\nASHOST=sapprd01\r\nSYSNR=00\r\n"
                       "RFC_TRACE=0\r\n"}},
       kDestinationLine + kTolvane, "", 0},
      {"saved by Notepad, with a byte order mark", "", elsewhere,
       {{"SapRfc.PRD", "\xEF\xBB\xBF" "DEST=PRD\r\nASHOST=sapprd01\r\nSYSNR=00\r\n"}},
       kDestinationLine + kTolvane, "", 0},
      {"the destination's logon checked when opening", "FAIL_LOGON = YES\n", elsewhere,
       {{"SapRfc.PRD", "DEST=PRD\nASHOST=sapprd01\nSYSNR=00\n"}},
       kDestinationLine +
           ErrorDocument(open + "User account is locked. Please notify the person responsible"),
       "", 2},
      {"a key sapnwrfc.ini does not know", "", elsewhere,
       {{"SapRfc.PRD", "DEST=PRD\nASHOST=sapprd01\nTPNAME=x\n"}},
       kDestinationLine + ErrorDocument(open + "SapRfc.PRD line 3: the key TPNAME has no "
                                               "counterpart in sapnwrfc.ini"),
       "", 2},
      {"an R/2 destination", "", elsewhere,
       {{"SapRfc.PRD", "DEST=PRD\nTYPE=2\nGWHOST=gw01\nGWSERV=sapgw02\n"}},
       kDestinationLine +
           ErrorDocument(open + "Parameter ASHOST, GWHOST, MSHOST or PORT is missing."),
       "", 2},
  });

  ProbeDirectory dir;
  dir.WriteLandscape(kSystem);
  dir.WriteProfile("PRD.P00", elsewhere);
  dir.Write("SapRfc.PRD", "DEST=PRD\r\nTYPE=A\r\nASHOST=sapprd01\r\nSYSNR=00\r\n");
  // An sapnwrfc.ini of the operator's in the working directory is neither read nor touched: the
  // probe's own is written in a folder of its own, gone again once the library has opened.
  const std::string operators = "DEST=PRD\nASHOST=sapxxx01\nSYSNR=00\n";
  dir.Write("sapnwrfc.ini", operators);
  ASSERT_EQ(dir.Run({"PRD"}).status, 0);
  EXPECT_EQ(dir.Read("sapnwrfc.ini"), operators);
  EXPECT_FALSE(dir.Exists("SapRfc.ini"));
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
    EXPECT_NE(entry.path().extension(), ".tmp") << entry.path();
  }
}

// A global run opens one destination after another in one process. SAP's library may keep
// sapnwrfc.ini once read (the simulated one does): each system's own file must reach it.
TEST_F(NwLibraryTest, GlobalRunThroughTwoDestinations) {
  ProbeDirectory dir;
  dir.WriteLandscape(kSystem + "[QAS]\nASHOST = sapqas01\nSYSNR = 10\n"
                               "LOGON = 100 MONI PrdMoni01\n");
  ProfileSettings prd;
  prd.hostname = "sapold01";
  dir.WriteProfile("PRD.P00", prd);
  ProfileSettings qas = prd;
  qas.destination = "QAS";
  dir.WriteProfile("QAS.P00", qas);
  dir.Write("SapRfc.PRD", "DEST=PRD\nASHOST=sapprd01\nSYSNR=00\n");
  dir.Write("SapRfc.QAS", "DEST=QAS\nASHOST=sapqas01\nSYSNR=10\n");
  dir.Write("Almandor.Prf", "# Gsng: Two         PRD.P00#QAS.P00#\n");
  const ProcessResult result = dir.Run({"x", "ITEM=Two,FLAVOUR=Tolvane"});
  EXPECT_EQ(result.out, OnConsole("\n" + kDestinationLine + "* SapRfc.Ini.......: QAS<\n" +
                                  "\n# (***) Two: NoSystems=2, Processed=2, Failed=0\n\n"));
  EXPECT_EQ(result.status, 0);
}

// A global run counts a system whose SapRfc.PRD cannot be turned as failed, without a
// message: standard error names the line, the next system is measured all the same.
TEST_F(NwLibraryTest, GlobalRunNamesAnUntranslatableLineOnStandardError) {
  ProbeDirectory dir;
  dir.WriteLandscape(kSystem + "[QAS]\nASHOST = sapqas01\nSYSNR = 10\n"
                               "LOGON = 100 MONI PrdMoni01\n");
  dir.WriteProfile("PRD.P00", ProfileSettings{});
  dir.WriteProfile("QAS.P00", System("QAS", "sapqas01", "10"));
  dir.Write("SapRfc.PRD", "DEST=PRD\nASHOST=sapprd01\nTPNAME=x\n");
  dir.Write("Almandor.Prf", "# Gsng: Two         PRD.P00#QAS.P00#\n");
  const ProcessResult result = dir.Run({"x", "ITEM=Two,FLAVOUR=Tolvane"});
  EXPECT_EQ(result.out, OnConsole("\n" + kDestinationLine +
                                  "\n# (***) Two: NoSystems=2, Processed=1, Failed=1\n\n"));
  EXPECT_EQ(result.err,
            OnConsole("* SapRfc.PRD line 3: the key TPNAME has no counterpart in sapnwrfc.ini\n"));
  EXPECT_EQ(result.status, 0);
}

// SAP's texts arrive in UTF-16 and become the host's code page: Latin-1 here, Windows-1252 on
// Windows; a character that has no byte there becomes "?".
TEST_F(NwLibraryTest, TextsInTheHostsCodePage) {
  ProbeDirectory dir;
  dir.WriteLandscape(kSystem + "FAIL_CALL = RFC_SYSTEM_INFO\n"
                               "ERROR_MESSAGE = Mandant verf\xc3\xbc" "gbar \xe6\x97\xa5\n");
  dir.WriteProfile("PRD.P00", ProfileSettings{});
  const ProcessResult result = dir.Run({"PRD"});
  EXPECT_EQ(result.out, OnConsole(ErrorDocument("Error 1014: RFC-Failure raised ! - Mandant "
                                                "verf\xc3\xbcgbar ?")));
  EXPECT_EQ(result.status, 2);
}

}  // namespace
}  // namespace kelvoran
