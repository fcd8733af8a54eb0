#include "simsap/landscape.h"

#include <gtest/gtest.h>

#include <string>

#include "simsap/text.h"

namespace simsap {
namespace {

TEST(LandscapeTest, ReadsSystemsWithTheirWayInLogonsAnswersAndFaults) {
  const LandscapeResult result = ParseLandscape(
      "\xEF\xBB\xBF# demo\r\n"
      "[PRD]\r\n"
      "ashost = sapprd01\r\n"
      "SYSNR=07\r\n"
      "LOGON = 100 moni  pass word \r\n"
      "LOGON = 200 MONI other\r\n"
      "RFCDBSYS = DB4\r\n"
      "TAB_CNT = -12\r\n"
      "MISS_TABLES = ZTAB1\r\n"
      "MISS_TABLES = ZTAB2\r\n"
      "\r\n"
      "; R/2 system behind a gateway\r\n"
      "[R2X]\r\n"
      "GWHOST = gw01\r\n"
      "GWSERV = sapgw02\r\n"
      "FAIL_CALL = RFC_SYSTEM_INFO DB02_DB4_GET_INFO\r\n"
      "FAIL_RECEIVE = RFC_SYSTEM_INFO 2 NOT_AUTHORIZED\r\n"
      "FAIL_HANDLER = rfccall ItDelete\r\n"
      "FAIL_CONNECT = yes\r\n"
      "ERROR_MESSAGE = partner down\r\n",
      "Landscape.ini");
  ASSERT_EQ(result.error, "");
  ASSERT_EQ(result.landscape.systems.size(), 2u);

  const SystemEntry& prd = result.landscape.systems[0];
  EXPECT_EQ(prd.name, "PRD");
  EXPECT_EQ(prd.line, 2);
  EXPECT_EQ(prd.asHost, "sapprd01");
  EXPECT_EQ(prd.systemNumber, 7);
  ASSERT_EQ(prd.logons.size(), 2u);
  EXPECT_EQ(prd.logons[0].client, "100");
  EXPECT_EQ(prd.logons[0].user, "MONI");
  EXPECT_EQ(prd.logons[0].password, "pass word");
  EXPECT_EQ(prd.answers,
            (std::map<std::string, std::string, std::less<>>{{"RFCDBSYS", "DB4"}, {"TAB_CNT", "-12"}}));
  EXPECT_EQ(prd.tableRows.at("MISS_TABLES"), (std::vector<std::string>{"ZTAB1", "ZTAB2"}));
  EXPECT_FALSE(prd.refuseConnection);

  const SystemEntry& r2x = result.landscape.systems[1];
  EXPECT_EQ(r2x.systemNumber, -1);
  EXPECT_EQ(r2x.gwHost, "gw01");
  EXPECT_EQ(r2x.gwService, "sapgw02");
  EXPECT_EQ(r2x.failingCalls, (std::set<std::string>{"DB02_DB4_GET_INFO", "RFC_SYSTEM_INFO"}));
  EXPECT_EQ(r2x.receiveFaults.at("RFC_SYSTEM_INFO").code, 2);
  EXPECT_EQ(r2x.receiveFaults.at("RFC_SYSTEM_INFO").exception, "NOT_AUTHORIZED");
  EXPECT_EQ(r2x.handlerOperations, (std::set<std::string>{"ItDelete", "RfcCall"}));
  EXPECT_TRUE(r2x.refuseConnection);
  EXPECT_EQ(r2x.errorTexts.message.value_or("<none>"), "partner down");
  EXPECT_FALSE(r2x.errorTexts.key.has_value());

  EXPECT_EQ(FindByServer(result.landscape, "SAPPRD01", 7), &prd);
  EXPECT_EQ(FindByServer(result.landscape, "sapprd01", 0), nullptr);
  EXPECT_EQ(FindByGateway(result.landscape, "GW01", "SAPGW02"), &r2x);
}

TEST(LandscapeTest, SlowAndSilentSystems) {
  const LandscapeResult result = ParseLandscape(
      "[PRD]\nASHOST = sapprd01\nSYSNR = 00\n"
      "DELAY_OPEN = 600000\ndelay_call = 0\nDELAY_RECEIVE = 20\n"
      "HANG = rfcreceive DB02_DB4_GET_INFO\nHANG = RfcClose\nHANG = RfcCall RFC_SYSTEM_INFO\n"
      "[QAS]\nASHOST = sapqas01\nSYSNR = 00\n",
      "Landscape.ini");
  ASSERT_EQ(result.error, "");
  const SystemEntry& prd = result.landscape.systems[0];
  EXPECT_EQ(prd.openDelay, 600000);
  EXPECT_EQ(prd.callDelay, 0);
  EXPECT_EQ(prd.receiveDelay, 20);
  EXPECT_EQ(prd.hangs, (std::set<std::pair<std::string, std::string>>{
                           {"RfcCall", "RFC_SYSTEM_INFO"},
                           {"RfcClose", ""},
                           {"RfcReceive", "DB02_DB4_GET_INFO"}}));
  const SystemEntry& qas = result.landscape.systems[1];
  EXPECT_EQ(qas.openDelay + qas.callDelay + qas.receiveDelay, 0);
  EXPECT_TRUE(qas.hangs.empty());
}

TEST(LandscapeTest, MalformedLandscapeNamesFileLineAndFault) {
  // Lines 1 to 3; each case adds its own lines from line 4 on.
  const std::string prd = "[PRD]\nASHOST = sapprd01\nSYSNR = 00\n";
  struct Case {
    const char* label;
    std::string text;
    std::string error;
  } cases[] = {
      {"unknown key", prd + "RFCDBSIS = DB4\n", "line 4: unknown key 'RFCDBSIS'"},
      {"bad number", prd + "TAB_CNT = 12x\n",
       "line 4: TAB_CNT '12x' is not a whole number from -2147483648 to 2147483647"},
      {"number beyond 32 bits", prd + "CURRENT_RESOURCES = 2147483648\n",
       "line 4: CURRENT_RESOURCES '2147483648' is not a whole number from -2147483648 to "
       "2147483647"},
      {"value too long for its field", prd + "RFCDBSYS = DB4DB4DB4DB4\n",
       "line 4: RFCDBSYS 'DB4DB4DB4DB4' is 12 characters long, at most 10 fit"},
      {"no date", prd + "FS_A_DATE = 20241301\n",
       "line 4: FS_A_DATE '20241301' is not a date YYYYMMDD"},
      {"no time", prd + "FS_A_TIME = 240000\n", "line 4: FS_A_TIME '240000' is not a time HHMMSS"},
      {"too many decimals", prd + "SYS_ASP_S = 12.25\n",
       "line 4: SYS_ASP_S '12.25' is not a decimal number with at most 10 digits before and 1 "
       "after the decimal point"},
      {"too many digits", prd + "TAB_SIZE = 1234567890123456\n",
       "line 4: TAB_SIZE '1234567890123456' is not a whole number of at most 15 digits"},
      {"row too long", prd + "MISS_INDEX = " + std::string(41, 'I') + "\n",
       "line 4: MISS_INDEX row '" + std::string(41, 'I') +
           "' is 41 characters long, at most 40 fit"},
      {"line without '='", prd + "DBSYS DB4\n",
       "line 4: line without '=' (expected KEY = value, [SYSTEM] or a # comment)"},
      {"key twice", prd + "ASHOST = other\n",
       "line 4: ASHOST is given twice for system PRD (first in line 2)"},
      {"system twice", prd + "[prd]\n", "line 4: system prd is given twice (first in line 1)"},
      {"key before any system", "SYSNR = 00\n", "line 1: 'SYSNR' before the first [SYSTEM] line"},
      {"system line not closed", "[PRD\n", "line 1: system line '[PRD' does not end with ']'"},
      {"system number of one digit", "[PRD]\nASHOST = h\nSYSNR = 7\n",
       "line 3: SYSNR '7' is not a system number of two digits (00 to 99)"},
      {"host without system number", "[PRD]\nASHOST = h\n[QAS]\n",
       "line 1: system PRD: ASHOST given without SYSNR"},
      {"no way in", "[PRD]\nRFCDBSYS = DB4\n",
       "line 1: system PRD: no way in: give ASHOST and SYSNR, or GWHOST and GWSERV"},
      {"way in of another system", prd + "[QAS]\nASHOST = SAPPRD01\nSYSNR = 00\n",
       "line 4: system QAS: ASHOST SAPPRD01 with SYSNR 00 already reaches system PRD"},
      {"logon without password", prd + "LOGON = 100 MONI\n",
       "line 4: LOGON needs a client, a user and a password"},
      {"logon client of two digits", prd + "LOGON = 10 MONI secret\n",
       "line 4: LOGON client '10' is not a client of three digits"},
      {"password too long, not shown", prd + "LOGON = 100 MONI " + std::string(41, 'p') + "\n",
       "line 4: LOGON password of user MONI is 41 characters long, at most 40 fit"},
      {"exception missing for code 2", prd + "FAIL_RECEIVE = RFC_SYSTEM_INFO 2\n",
       "line 4: FAIL_RECEIVE: code 2 needs the name of the exception"},
      {"return code 0 is no fault", prd + "FAIL_RECEIVE = RFC_SYSTEM_INFO 0\n",
       "line 4: FAIL_RECEIVE: '0' is not a return code other than 0"},
      {"unknown function module", prd + "FAIL_CALL = RFC_PING\n",
       "line 4: FAIL_CALL: 'RFC_PING' is not a function module the library knows"},
      {"unknown operation", prd + "FAIL_HANDLER = RfcOpen RfcPing\n",
       "line 4: FAIL_HANDLER: 'RfcPing' is not a library operation the library knows"},
      {"neither YES nor NO", prd + "FAIL_LOGON = maybe\n",
       "line 4: FAIL_LOGON 'maybe' is neither YES nor NO"},
      {"error message beyond its field", prd + "ERROR_MESSAGE = " + std::string(256, 'm') + "\n",
       "line 4: ERROR_MESSAGE is 256 characters long, at most 255 fit"},
      {"delay beyond ten minutes", prd + "DELAY_OPEN = 600001\n",
       "line 4: DELAY_OPEN '600001' is not a whole number of milliseconds from 0 to 600000"},
      {"delay not a number", prd + "DELAY_RECEIVE = 2s\n",
       "line 4: DELAY_RECEIVE '2s' is not a whole number of milliseconds from 0 to 600000"},
      {"negative delay", prd + "DELAY_CALL = -1\n",
       "line 4: DELAY_CALL '-1' is not a whole number of milliseconds from 0 to 600000"},
      {"delay of many digits", prd + "DELAY_CALL = 00000000000000000001\n",
       "line 4: DELAY_CALL '00000000000000000001' is not a whole number of milliseconds from 0 "
       "to 600000"},
      {"delay twice", prd + "DELAY_CALL = 1\nDELAY_CALL = 2\n",
       "line 5: DELAY_CALL is given twice for system PRD (first in line 4)"},
      {"hang in an unknown operation", prd + "HANG = ItCreate\n",
       "line 4: HANG: 'ItCreate' is not an operation a system can hang in (RfcOpen, RfcOpenEx, "
       "RfcCall, RfcReceive, RfcClose)"},
      {"hang of open for a module", prd + "HANG = RfcOpen RFC_SYSTEM_INFO\n",
       "line 4: HANG: RfcOpen calls no function module"},
      {"hang for an unknown module", prd + "HANG = RfcCall RFC_PING\n",
       "line 4: HANG: 'RFC_PING' is not a function module the library knows"},
      {"hang without operation", prd + "HANG =\n",
       "line 4: HANG needs a library operation and, for RfcCall and RfcReceive, may name a "
       "function module"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    const LandscapeResult result = ParseLandscape(c.text, "dir/Landscape.ini");
    EXPECT_EQ(result.error, "dir/Landscape.ini " + c.error);
    EXPECT_TRUE(result.landscape.systems.empty());
  }
}

// A line break lost before a LOGON line (or a PASSWD= of a connect string pasted in) puts the
// password into another line; the message names that line without quoting it.
TEST(LandscapeTest, LineThatMayHoldAPasswordIsNeverQuoted) {
  const std::string prd = "[PRD]\nASHOST = sapprd01\nSYSNR = 00\n";
  const std::string masked = std::string("line 4: ") + kLineNotQuoted;
  struct Case {
    const char* label;
    std::string text;
    std::string error;
  } cases[] = {
      {"after a host",
       "[PRD]\nSYSNR = 00\nLOGON = 100 MONI a\nASHOST = sapprd01LOGON = 100 MONI Secret99\n",
       masked},
      {"after a yes or no", prd + "FAIL_LOGON = NOlogon = 100 MONI Secret99\n", masked},
      {"after a field value", prd + "RFCDBSYS = DB4LOGON = 100 MONI Secret99\n", masked},
      {"after a system line", prd + "[QAS]LOGON = 100 MONI Secret99\n", masked},
      {"in a line without '='", prd + "ASHOST sapprd01 LOGON 100 MONI Secret99\n", masked},
      {"a connect string", prd + "ERROR_KEY = CLIENT=100 USER=MONI PASSWD=Secret99 DEST=PRD\n",
       masked},
      {"in a system name", prd + "[QAS LOGON 100 MONI Secret99]\n", masked},
      {"in the client word of a LOGON line", prd + "LOGON = 100PASSWD=Secret99 MONI x\n", masked},
      // A LOGON line's own messages name the client and the user, never the password.
      {"a LOGON line itself", prd + "LOGON = 10 MONI Secret99\n",
       "line 4: LOGON client '10' is not a client of three digits"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    const LandscapeResult result = ParseLandscape(c.text, "Landscape.ini");
    EXPECT_EQ(result.error, "Landscape.ini " + c.error);
    EXPECT_EQ(result.error.find("Secret99"), std::string::npos);
  }
}

}  // namespace
}  // namespace simsap
