// RfcOpenConnection and RfcCloseConnection against the landscape: every way a connection is
// refused, with the whole error record, and the logons it accepts.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "simnwrfc/nwrfc_fixture.h"

namespace kelvoran {
namespace {

using Parameters = std::vector<std::pair<std::string, SapText>>;

const std::string kFaults = std::string(kNwLandscape) +
                            "\n[DWN]\nASHOST = sapdwn01\nSYSNR = 00\nLOGON = 100 MONI x\n"
                            "FAIL_CONNECT = YES\n"
                            "\n[OVR]\nASHOST = sapovr01\nSYSNR = 00\nLOGON = 100 MONI x\n"
                            "FAIL_CONNECT = YES\nERROR_KEY = CPIC_DOWN\n"
                            "ERROR_MESSAGE = Gateway down for maintenance\n"
                            "\n[LCK]\nASHOST = saplck01\nSYSNR = 00\nLOGON = 100 MONI x\n"
                            "FAIL_LOGON = YES\n"
                            "\n[R2P]\nGWHOST = sapgw01\nGWSERV = sapgw50\nLOGON = 100 MONI x\n";

Parameters Server(const std::string& host, const std::string& sysnr, const std::string& client,
                  const std::string& user, const std::string& password) {
  return {{"ashost", Sap(host)},     {"sysnr", Sap(sysnr)}, {"client", Sap(client)},
          {"user", Sap(user)},       {"passwd", Sap(password)}, {"lang", Sap("EN")}};
}

class NwConnectionsTest : public SimNwRfcTest {};

TEST_F(NwConnectionsTest, RefusedConnectionsReportCodeGroupKeyAndMessage) {
  UseLandscape(kFaults);
  const std::string cpic = "LOCATION    CPIC (TCP/IP) on local host with Unicode\nERROR       partner '";
  struct Case {
    const char* label;
    Parameters parameters;
    std::string record;
  };
  const Case cases[] = {
      {"no system at the host", Server("sapxxx01", "00", "100", "MONI", "PrdMoni01"),
       "1/4 RFC_COMMUNICATION_FAILURE: " + cpic +
           "sapxxx01:3300' not reached\nDETAIL      no system at host sapxxx01"},
      {"no system with the system number", Server("sapprd01", "01", "100", "MONI", "PrdMoni01"),
       "1/4 RFC_COMMUNICATION_FAILURE: " + cpic +
           "sapprd01:3301' not reached\nDETAIL      no system with system number 01 at host "
           "sapprd01"},
      {"FAIL_CONNECT", Server("sapdwn01", "00", "100", "MONI", "x"),
       "1/4 RFC_COMMUNICATION_FAILURE: " + cpic +
           "sapdwn01:3300' not reached\nDETAIL      system DWN refuses every connection"},
      {"FAIL_CONNECT with ERROR_KEY and ERROR_MESSAGE", Server("sapovr01", "00", "100", "MONI", "x"),
       "1/4 CPIC_DOWN: Gateway down for maintenance"},
      {"wrong password", Server("sapprd01", "00", "100", "MONI", "prdmoni01"),
       "2/3 RFC_LOGON_FAILURE: Name or password is incorrect (repeat logon)"},
      {"unknown user", Server("sapprd01", "00", "100", "OTHER", "PrdMoni01"),
       "2/3 RFC_LOGON_FAILURE: Name or password is incorrect (repeat logon)"},
      {"client without a logon", Server("sapprd01", "00", "300", "MONI", "PrdMoni01"),
       "2/3 RFC_LOGON_FAILURE: Client 300 is not available in this system"},
      {"no client", Server("sapprd01", "00", "", "MONI", "PrdMoni01"),
       "2/3 RFC_LOGON_FAILURE: No client given for the logon"},
      {"FAIL_LOGON", Server("saplck01", "00", "100", "MONI", "x"),
       "2/3 RFC_LOGON_FAILURE: User account is locked. Please notify the person responsible"},
      {"an R/2 profile: no application server",
       {{"gwhost", Sap("sapgw01")}, {"gwserv", Sap("sapgw50")}, {"client", Sap("100")},
        {"user", Sap("MONI")}, {"passwd", Sap("x")}},
       "20/5 RFC_INVALID_PARAMETER: Parameter ASHOST, GWHOST, MSHOST or PORT is missing."},
      {"a destination sapnwrfc.ini does not have",
       {{"dest", Sap("PRD")}, {"client", Sap("100")}, {"user", Sap("MONI")},
        {"passwd", Sap("PrdMoni01")}},
       "20/5 RFC_INVALID_PARAMETER: Parameter ASHOST, GWHOST, MSHOST or PORT is missing."},
      {"no system number", {{"ashost", Sap("sapprd01")}, {"client", Sap("100")}},
       "20/5 RFC_INVALID_PARAMETER: Parameter SYSNR is missing."},
      {"a system number of three digits", Server("sapprd01", "000", "100", "MONI", "PrdMoni01"),
       "20/5 RFC_INVALID_PARAMETER: Invalid value '000' of parameter SYSNR (two digits)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    RFC_ERROR_INFO info = Dirty();
    EXPECT_EQ(Open(c.parameters, info), nullptr);
    EXPECT_EQ(Describe(info), c.record);
  }
}

TEST_F(NwConnectionsTest, NoParametersAtAll) {
  UseLandscape(kNwLandscape);
  const SapText name = Sap("ashost"), value = Sap("sapprd01");
  RFC_CONNECTION_PARAMETER parameter{name.c_str(), value.c_str()};
  RFC_ERROR_INFO info = Dirty();
  EXPECT_EQ(RfcOpenConnection(&parameter, 0, &info), nullptr);
  EXPECT_EQ(Describe(info),
            "20/5 RFC_INVALID_PARAMETER: Invalid parameter 'unsigned paramCount' was passed to "
            "the API call");
  EXPECT_EQ(RfcOpenConnection(nullptr, 0, nullptr), nullptr);  // no error record to fill
}

TEST_F(NwConnectionsTest, LogonsAcceptedAsSapComparesThem) {
  UseLandscape(kNwLandscape);
  struct Case {
    const char* label;
    Parameters parameters;
  };
  const Case cases[] = {
      {"as given", Server("sapprd01", "00", "100", "MONI", "PrdMoni01")},
      {"user in lower case, host in upper case",
       Server("SAPPRD01", "00", "100", "moni", "PrdMoni01")},
      {"user and password padded with blanks",
       Server("sapprd01", "00", "100", "MONI        ", "PrdMoni01       ")},
      {"parameter names in upper case",
       {{"ASHOST", Sap("sapprd01")}, {"SYSNR", Sap("00")}, {"CLIENT", Sap("100")},
        {"USER", Sap("MONI")}, {"PASSWD", Sap("PrdMoni01")}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    RFC_ERROR_INFO info = Dirty();
    RFC_CONNECTION_HANDLE handle = Open(c.parameters, info);
    ASSERT_NE(handle, nullptr) << Describe(info);
    EXPECT_EQ(Describe(info), "0/0 : ");
    EXPECT_EQ(RfcCloseConnection(handle, &info), RFC_OK);
  }
}

TEST_F(NwConnectionsTest, PasswordsCompareByCharacterWhateverTheLandscapeEncoding) {
  // The landscape's bytes are UTF-8 where they can be, Latin-1 elsewhere: both spell the
  // password "Bär1" (U+00E4) here.
  UseLandscape("[UTF]\nASHOST = h1\nSYSNR = 00\nLOGON = 100 MONI B\xC3\xA4r1\n"
               "[LAT]\nASHOST = h2\nSYSNR = 00\nLOGON = 100 MONI B\xE4r1\n");
  SapText password = Sap("Br1");
  password.insert(1, 1, static_cast<SAP_UC>(0xE4));
  for (const char* host : {"h1", "h2"}) {
    SCOPED_TRACE(host);
    RFC_ERROR_INFO info = Dirty();
    RFC_CONNECTION_HANDLE handle = Open({{"ashost", Sap(host)},
                                         {"sysnr", Sap("00")},
                                         {"client", Sap("100")},
                                         {"user", Sap("MONI")},
                                         {"passwd", password}},
                                        info);
    ASSERT_NE(handle, nullptr) << Describe(info);
    EXPECT_EQ(RfcCloseConnection(handle, nullptr), RFC_OK);
  }
}

TEST_F(NwConnectionsTest, ClosedHandleIsInvalid) {
  UseLandscape(kNwLandscape);
  RFC_CONNECTION_HANDLE handle = OpenPrd();
  RFC_ERROR_INFO info = Dirty();
  EXPECT_EQ(RfcCloseConnection(handle, &info), RFC_OK);
  EXPECT_EQ(Describe(info), "0/0 : ");
  const std::string invalid =
      "13/5 RFC_INVALID_HANDLE: An invalid handle 'RFC_CONNECTION_HANDLE' was passed to the "
      "API call";
  EXPECT_EQ(RfcCloseConnection(handle, &info), RFC_INVALID_HANDLE);
  EXPECT_EQ(Describe(info), invalid);
  EXPECT_EQ(RfcGetFunctionDesc(handle, Sap("RFC_SYSTEM_INFO").c_str(), &info), nullptr);
  EXPECT_EQ(Describe(info), invalid);
  EXPECT_EQ(RfcCloseConnection(nullptr, &info), RFC_INVALID_HANDLE);
}

TEST_F(NwConnectionsTest, MalformedLandscapeRefusesWithItsMessage) {
  Dir().Write("Landscape.ini", "[PRD]\nASHOST = sapprd01\n");
  RFC_ERROR_INFO info = Dirty();
  EXPECT_EQ(OpenServer("sapprd01", "00", "100", "MONI", "x", info), nullptr);
  EXPECT_EQ(Describe(info),
            "1/4 RFC_COMMUNICATION_FAILURE: LOCATION    CPIC (TCP/IP) on local host with "
            "Unicode\nERROR       partner 'sapprd01:3300' not reached\nDETAIL      " +
                Dir().Path().string() + "/Landscape.ini" +
                " line 1: system PRD: ASHOST given without SYSNR");
}

}  // namespace
}  // namespace kelvoran
