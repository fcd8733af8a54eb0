#include <gtest/gtest.h>

#include <string>

#include "simrfc/sim_rfc_fixture.h"

namespace kelvoran {
namespace {

const char* const kLandscape =
    "[PRD]\n"
    "ASHOST = sapprd01\n"
    "SYSNR = 00\n"
    "LOGON = 100 MONI secret\n"
    "LOGON = 100 ADMIN Other Pw\n"
    "[R2X]\n"
    "GWHOST = gw01\n"
    "GWSERV = sapgw02\n"
    "LOGON = 100 MONI secret\n"
    "[DOWN]\n"
    "ASHOST = sapdown\n"
    "SYSNR = 00\n"
    "FAIL_CONNECT = YES\n"
    "[LOCK]\n"
    "ASHOST = saplock\n"
    "SYSNR = 00\n"
    "LOGON = 100 MONI secret\n"
    "FAIL_LOGON = YES\n";

const char* const kRfcIni =
    "* destinations of the tests\n"
    "DEST=PRD\n"
    "TYPE=A\n"
    "ASHOST=sapprd01\n"
    "SYSNR=00\n"
    "RFC_TRACE=0\n"
    "\n"
    "DEST=R2X\n"
    "GWHOST=gw01\n"
    "GWSERV=sapgw02\n"
    "\n"
    "DEST=OLD\n"
    "ASHOST=sapold01\n"
    "SYSNR=00\n"
    "DEST=LOCK\n"
    "ASHOST=saplock\n"
    "SYSNR=00\n";

class ConnectionsTest : public SimRfcTest {
 protected:
  ConnectionsTest() { UseLandscape(kLandscape); }

  std::string InDir(const std::string& text) const {
    std::string result = text;
    const std::size_t at = result.find("{dir}");
    if (at != std::string::npos) result.replace(at, 5, dir_.Path().string());
    return result;
  }

  // A call of RFC_SYSTEM_INFO that receives nothing: enough to pass the logon.
  static int CallAndReceive(RFC_HANDLE handle, char** exception) {
    RFC_PARAMETER none[] = {{nullptr, 0, 0, 0, nullptr}};
    RFC_TABLE noTables[] = {{nullptr, 0, 0, 0, nullptr, 0, 0}};
    const int called = RfcCall(handle, Text("RFC_SYSTEM_INFO"), none, noTables);
    if (called != RFC_OK) return 100 + called;
    return RfcReceive(handle, none, noTables, exception);
  }
};

TEST_F(ConnectionsTest, RfcOpenReachesSystemsByServerOrGateway) {
  struct Case {
    const char* label;
    int mode;
    const char* host;
    int systemNumber;
    const char* gatewayHost;
    const char* gatewayService;
    const char* message;  // null: the connection opens
  } cases[] = {
      {"application server", 0, "sapprd01", 0, nullptr, nullptr, nullptr},
      {"host in other letter case", 0, "SAPPRD01", 0, nullptr, nullptr, nullptr},
      {"R/2 through a gateway", 1, nullptr, 0, "gw01", "sapgw02", nullptr},
      {"other system number", 0, "sapprd01", 1, nullptr, nullptr,
       "partner 'sapprd01:sapgw01' not reached"},
      {"unknown host", 0, "sapold01", 0, nullptr, nullptr,
       "partner 'sapold01:sapgw00' not reached"},
      {"no host", 0, nullptr, 0, "gw01", "sapgw02", "no application server host given"},
      {"system number beyond 99", 0, "sapprd01", 100, nullptr, nullptr,
       "system number 100 is not from 00 to 99"},
      {"other gateway service", 1, nullptr, 0, "gw01", "sapgw03",
       "partner 'gw01:sapgw03' not reached"},
      {"no gateway service", 1, nullptr, 0, "gw01", nullptr, "no gateway service given"},
      {"unknown mode", 2, "sapprd01", 0, nullptr, nullptr,
       "connection mode 2 is neither 0 (application server) nor 1 (R/2 through a gateway)"},
      {"system refusing connections", 0, "sapdown", 0, nullptr, nullptr,
       "partner 'sapdown:sapgw00' not reached"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    std::string client = "100", user = "MONI        ", password = "secret    ";
    RFC_CONNOPT_R3ONLY server{const_cast<char*>(c.host), c.systemNumber,
                            const_cast<char*>(c.gatewayHost), const_cast<char*>(c.gatewayService)};
    RFC_CONNOPT_CPIC gateway{const_cast<char*>(c.gatewayHost),
                              const_cast<char*>(c.gatewayService)};
    RFC_OPTIONS options{const_cast<char*>("PRD"),
                              c.mode,
                              c.mode == 1 ? static_cast<void*>(&gateway) : &server,
                              client.data(),
                              user.data(),
                              password.data(),
                              const_cast<char*>("E"),
                              0};
    const RFC_HANDLE handle = RfcOpen(&options);
    if (c.message == nullptr) {
      EXPECT_NE(handle, 0u);
      char* exception = nullptr;
      EXPECT_EQ(CallAndReceive(handle, &exception), RFC_OK);
      RfcClose(handle);
    } else {
      EXPECT_EQ(handle, 0u);
      EXPECT_EQ(LastMessage(), c.message);
    }
  }
}

TEST_F(ConnectionsTest, RfcOpenChecksTheLogonAtTheFirstCall) {
  struct Case {
    const char* label;
    const char* host;
    const char* client;
    const char* user;
    const char* password;
    const char* message;  // null: logged on
  } cases[] = {
      {"user in lower case", "sapprd01", "100", "moni", "secret", nullptr},
      {"password with a blank", "sapprd01", "100", "ADMIN", "Other Pw", nullptr},
      {"password in other letter case", "sapprd01", "100", "MONI", "Secret",
       "Name or password is incorrect (repeat logon)"},
      {"unknown user", "sapprd01", "100", "NOBODY", "secret",
       "Name or password is incorrect (repeat logon)"},
      {"unknown client", "sapprd01", "200", "MONI", "secret",
       "Client 200 is not available in this system"},
      {"locked user", "saplock", "100", "MONI", "secret",
       "User account is locked. Please notify the person responsible"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    const RFC_HANDLE handle = OpenServer(c.host, 0, c.client, c.user, c.password);
    ASSERT_NE(handle, 0u);
    char* exception = nullptr;
    const int result = CallAndReceive(handle, &exception);
    if (c.message == nullptr) {
      EXPECT_EQ(result, RFC_OK);
    } else {
      EXPECT_EQ(result, RFC_SYS_EXCEPTION);
      EXPECT_EQ(std::string(exception != nullptr ? exception : "<null>"), "SYSTEM_FAILURE");
      EXPECT_EQ(LastMessage(), c.message);
      EXPECT_EQ(std::string(LastError().key), "RFC_ERROR_LOGON_FAILURE");
      // The partner has ended the connection.
      EXPECT_EQ(CallAndReceive(handle, &exception), 100 + RFC_FAILURE);
    }
    RfcClose(handle);
  }
  EXPECT_EQ(Trace().find("secret"), std::string::npos);
  EXPECT_EQ(Trace().find("Secret"), std::string::npos);
}

TEST_F(ConnectionsTest, RfcOpenExReadsTheDestinationFromSapRfcIni) {
  dir_.Write("SapRfc.ini", kRfcIni);
  struct Case {
    const char* label;
    const char* connectString;
    int group;  // 0: the connection opens
    const char* message;
  } cases[] = {
      {"application server", "CLIENT=100 USER=MONI PASSWD=secret LANG=D DEST=PRD", 0, ""},
      {"gateway", "CLIENT=100 USER=MONI PASSWD=secret LANG=D DEST=R2X", 0, ""},
      {"keys in lower case", "client=100 user=moni passwd=secret lang=D dest=PRD", 0, ""},
      {"unknown destination", "CLIENT=100 USER=MONI PASSWD=secret LANG=D DEST=XYZ", 101,
       "destination XYZ not found in {dir}/SapRfc.ini"},
      {"host no system answers", "CLIENT=100 USER=MONI PASSWD=secret LANG=D DEST=OLD", 102,
       "partner 'sapold01:sapgw00' not reached"},
      {"wrong password", "CLIENT=100 USER=MONI PASSWD=secreT LANG=D DEST=PRD", 103,
       "Name or password is incorrect (repeat logon)"},
      {"locked user", "CLIENT=100 USER=MONI PASSWD=secret LANG=D DEST=LOCK", 103,
       "User account is locked. Please notify the person responsible"},
      {"quoted password with a blank", "CLIENT=100 USER=ADMIN PASSWD=\"Other Pw\" DEST=PRD", 0,
       ""},
      {"password with a blank, unquoted", "CLIENT=100 USER=MONI PASSWD=my secret DEST=PRD", 101,
       "word 4 of the connect string is not KEY=value"},
      {"quote not closed", "CLIENT=100 USER=MONI PASSWD=\"my secret DEST=PRD", 101,
       "word 3 of the connect string opens a quote that is not closed"},
      {"text after the closing quote", "CLIENT=100 PASSWD=\"a b\"c DEST=PRD", 101,
       "word 2 of the connect string goes on after its closing quote"},
      {"quoted values", "CLIENT=\"100\" USER=\"MONI\" PASSWD=\"secret\" DEST=\"PRD\"", 0, ""},
      {"unknown key", "CLIENT=100 USER=MONI PASSWORD=secret DEST=PRD", 101,
       "word 3 of the connect string has an unknown key (known are CLIENT, USER, PASSWD, LANG "
       "and DEST)"},
      {"key twice", "CLIENT=100 CLIENT=200 DEST=PRD", 101,
       "CLIENT= is given twice in the connect string"},
      {"no destination", "CLIENT=100 USER=MONI PASSWD=secret LANG=D", 101,
       "no destination (DEST=) in the connect string"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    RFC_ERROR_INFO_EX info{};
    const RFC_HANDLE handle = RfcOpenEx(Text(c.connectString), &info);
    if (c.group == 0) {
      EXPECT_NE(handle, 0u);
      EXPECT_EQ(info.group, 0);
      RfcClose(handle);
      continue;
    }
    EXPECT_EQ(handle, 0u);
    EXPECT_EQ(info.group, c.group);
    EXPECT_EQ(std::string(info.message), InDir(c.message));
    EXPECT_EQ(std::string(info.key), std::string(LastError().key));
    EXPECT_EQ(LastMessage(), InDir(c.message));
  }
  EXPECT_EQ(Trace().find("secret"), std::string::npos);
}

TEST_F(ConnectionsTest, MalformedOrMissingSapRfcIniRefusesTheConnection) {
  struct Case {
    const char* label;
    const char* ini;  // null: no file
    const char* message;
  } cases[] = {
      {"no file", nullptr, "cannot read {dir}/SapRfc.ini for destination PRD"},
      {"empty file", "", "destination PRD not found in {dir}/SapRfc.ini"},
      {"unknown key", "DEST=PRD\nASHOTS=sapprd01\n",
       "{dir}/SapRfc.ini line 2: unknown key 'ASHOTS'"},
      {"key before DEST", "ASHOST=sapprd01\nDEST=PRD\n",
       "{dir}/SapRfc.ini line 1: 'ASHOST' before the first DEST= line"},
      {"server without number", "DEST=PRD\nTYPE=A\nASHOST=sapprd01\n",
       "{dir}/SapRfc.ini line 1: destination PRD: an application server needs ASHOST and SYSNR"},
      {"gateway without service", "DEST=PRD\nGWHOST=gw01\n",
       "{dir}/SapRfc.ini line 1: destination PRD: a connection through a gateway needs GWHOST "
       "and GWSERV"},
      {"unsupported type", "DEST=PRD\nTYPE=B\n",
       "{dir}/SapRfc.ini line 2: TYPE=B is not supported (A: application server, 2: gateway)"},
      {"destination twice", "DEST=PRD\nASHOST=a\nSYSNR=00\nDEST=PRD\n",
       "{dir}/SapRfc.ini line 4: destination PRD is given twice (first in line 1)"},
      {"line without '='", "DEST=PRD\nASHOST sapprd01\n",
       "{dir}/SapRfc.ini line 2: line without '=' (expected KEY=value)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    std::filesystem::remove(dir_.Path() / "SapRfc.ini");
    if (c.ini != nullptr) dir_.Write("SapRfc.ini", c.ini);
    RFC_ERROR_INFO_EX info{};
    EXPECT_EQ(RfcOpenEx(Text("CLIENT=100 USER=MONI PASSWD=secret LANG=D DEST=PRD"), &info), 0u);
    EXPECT_EQ(std::string(info.message), InDir(c.message));
  }
}

TEST_F(SimRfcTest, LandscapeFileIsReadOnFirstNeedAndAgainWhileMalformed) {
  EXPECT_EQ(OpenServer("sapprd01", 0), 0u);
  EXPECT_EQ(LastMessage(),
            "cannot read the landscape file " + dir_.Path().string() + "/Landscape.ini");

  dir_.Write("Landscape.ini", "[PRD]\nASHOST = sapprd01\nSYSNR = 00\nFOO = 1\n");
  EXPECT_EQ(OpenServer("sapprd01", 0), 0u);
  const std::string malformed = dir_.Path().string() + "/Landscape.ini line 4: unknown key 'FOO'";
  EXPECT_EQ(LastMessage(), malformed);
  EXPECT_NE(Trace().find("======> " + malformed + "\n"), std::string::npos);

  dir_.Write("Landscape.ini", "[PRD]\nASHOST = sapprd01\nSYSNR = 00\n");
  EXPECT_NE(OpenServer("sapprd01", 0), 0u);
  // Once read, the landscape is kept.
  dir_.Write("Landscape.ini", "[QAS]\nASHOST = sapqas01\nSYSNR = 00\n");
  EXPECT_NE(OpenServer("sapprd01", 0), 0u);
}

TEST_F(ConnectionsTest, CloseAcceptsTheNullHandleAndRefusesUnknownOnes) {
  RfcClose(0);
  EXPECT_EQ(LastError().key[0], '\0');
  EXPECT_EQ(Trace(), "");

  const RFC_HANDLE handle = OpenServer("sapprd01", 0);
  ASSERT_NE(handle, 0u);
  RfcClose(handle);
  RfcClose(handle);
  EXPECT_EQ(LastMessage(), "connection handle " + std::to_string(handle) + " is closed already");
  RfcClose(handle + 7);
  EXPECT_EQ(LastMessage(), "connection handle " + std::to_string(handle + 7) + " was never opened");
  char* exception = nullptr;
  EXPECT_EQ(CallAndReceive(handle, &exception), 100 + RFC_FAILURE);
  EXPECT_EQ(LastMessage(), "connection handle " + std::to_string(handle) + " is closed");
  EXPECT_EQ(CallAndReceive(0, &exception), 100 + RFC_FAILURE);
  EXPECT_EQ(LastMessage(), "no connection handle given");
}

}  // namespace
}  // namespace kelvoran
