// Function descriptions and RfcInvoke against the landscape's faults: the code, the whole error
// record, and whether the connection can still be used afterwards.
#include <gtest/gtest.h>

#include <string>

#include "simnwrfc/nwrfc_fixture.h"

namespace kelvoran {
namespace {

class NwCallsTest : public SimNwRfcTest {};

std::string System(const std::string& name, const std::string& faults) {
  return "[" + name + "]\nASHOST = " + name + "\nSYSNR = 00\nLOGON = 100 MONI x\n" + faults + "\n";
}

TEST_F(NwCallsTest, InjectedFaultsOfTheCallAndWhatTheConnectionAnswersAfterwards) {
  UseLandscape(System("F1", "FAIL_CALL = DB02_DB4_GET_INFO") +
               System("F2", "FAIL_RECEIVE = DB02_DB4_GET_INFO 1") +
               System("F3", "FAIL_RECEIVE = DB02_DB4_GET_INFO 2 NO_DATA_FOUND") +
               System("F4", "FAIL_RECEIVE = DB02_DB4_GET_INFO 3") +
               System("F5", "FAIL_RECEIVE = DB02_DB4_GET_INFO 3 DBIF_RSQL_SQL_ERROR") +
               System("F6", "FAIL_RECEIVE = DB02_DB4_GET_INFO 4") +
               System("F7", "FAIL_RECEIVE = DB02_DB4_GET_INFO 7") +
               System("F8", "FAIL_RECEIVE = DB02_DB4_GET_INFO -1") +
               System("F9",
                      "FAIL_RECEIVE = DB02_DB4_GET_INFO 2 NO_DATA_FOUND\nERROR_KEY = OTHER\n"
                      "ERROR_MESSAGE = No statistics collected yet") +
               System("FA", "FAIL_RECEIVE = DB02_DB4_GET_INFO 3\nERROR_KEY = OTHER\n"
                            "ERROR_MESSAGE = Short dump in DB02") +
               System("FB", "FAIL_RECEIVE = DB02_DB4_GET_INFO 5"));
  struct Case {
    const char* host;
    RFC_RC rc;
    std::string record;
    bool closed;  // the connection answers RFC_INVALID_HANDLE afterwards
  };
  const Case cases[] = {
      {"F1", RFC_COMMUNICATION_FAILURE,
       "1/4 RFC_COMMUNICATION_FAILURE: connection to partner broken while calling "
       "DB02_DB4_GET_INFO",
       true},
      {"F2", RFC_COMMUNICATION_FAILURE,
       "1/4 RFC_COMMUNICATION_FAILURE: connection to partner broken while receiving the answer "
       "of DB02_DB4_GET_INFO",
       true},
      {"F3", RFC_ABAP_EXCEPTION,
       "5/1 NO_DATA_FOUND: DB02_DB4_GET_INFO raised the exception NO_DATA_FOUND", false},
      {"F4", RFC_ABAP_RUNTIME_FAILURE,
       "3/2 SYSTEM_FAILURE: ABAP runtime error in DB02_DB4_GET_INFO", true},
      {"F5", RFC_ABAP_RUNTIME_FAILURE,
       "3/2 DBIF_RSQL_SQL_ERROR: ABAP runtime error in DB02_DB4_GET_INFO", true},
      {"F6", RFC_ABAP_MESSAGE, "4/2 MESSAGE_TYPE_X: DB02_DB4_GET_INFO ended with an ABAP message",
       true},
      {"F7", RFC_CANCELED, "7/5 RFC_CANCELED: DB02_DB4_GET_INFO ended with return code 7", false},
      {"F8", static_cast<RFC_RC>(-1),
       "-1/5 RFC_UNKNOWN_ERROR: DB02_DB4_GET_INFO ended with return code -1", false},
      // The key of an ABAP exception stays the exception's name.
      {"F9", RFC_ABAP_EXCEPTION, "5/1 NO_DATA_FOUND: No statistics collected yet", false},
      {"FA", RFC_ABAP_RUNTIME_FAILURE, "3/2 OTHER: Short dump in DB02", true},
      {"FB", RFC_ABAP_EXCEPTION,
       "5/5 RFC_ABAP_EXCEPTION: DB02_DB4_GET_INFO ended with return code 5", false},
  };
  const std::string invalid =
      "13/5 RFC_INVALID_HANDLE: An invalid handle 'RFC_CONNECTION_HANDLE' was passed to the "
      "API call";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.host);
    RFC_ERROR_INFO info = Dirty();
    RFC_CONNECTION_HANDLE connection = OpenServer(c.host, "00", "100", "MONI", "x", info);
    ASSERT_NE(connection, nullptr) << Describe(info);
    RFC_FUNCTION_HANDLE function = Function(connection, "DB02_DB4_GET_INFO");
    info = Dirty();
    EXPECT_EQ(RfcInvoke(connection, function, &info), c.rc);
    EXPECT_EQ(Describe(info), c.record);

    info = Dirty();
    const RFC_FUNCTION_DESC_HANDLE description =
        RfcGetFunctionDesc(connection, Sap("RFC_SYSTEM_INFO").c_str(), &info);
    EXPECT_EQ(description == nullptr, c.closed);
    EXPECT_EQ(RfcInvoke(connection, function, &info), c.closed ? RFC_INVALID_HANDLE : c.rc);
    if (c.closed) {
      EXPECT_EQ(Describe(info), invalid);
    }
    EXPECT_EQ(RfcCloseConnection(connection, &info), c.closed ? RFC_INVALID_HANDLE : RFC_OK);
    EXPECT_EQ(RfcDestroyFunction(function, &info), RFC_OK);
  }
}

TEST_F(NwCallsTest, UnknownFunctionModuleIsFuNotFoundAndTheConnectionStays) {
  UseLandscape(kNwLandscape);
  RFC_CONNECTION_HANDLE connection = OpenPrd();
  RFC_ERROR_INFO info = Dirty();
  EXPECT_EQ(RfcGetFunctionDesc(connection, Sap("Z_NO_SUCH_MODULE").c_str(), &info), nullptr);
  EXPECT_EQ(Describe(info), "5/1 FU_NOT_FOUND: ID:FL Type:E Number:046 Z_NO_SUCH_MODULE");
  EXPECT_EQ(Field(info.abapMsgClass) + " " + Field(info.abapMsgType) + " " +
                Field(info.abapMsgNumber) + " " + Field(info.abapMsgV1) + " [" +
                Field(info.abapMsgV2) + "]",
            "FL E 046 Z_NO_SUCH_MODULE []");
  EXPECT_NE(RfcGetFunctionDesc(connection, Sap("RFC_SYSTEM_INFO").c_str(), &info), nullptr);
  EXPECT_EQ(RfcCloseConnection(connection, &info), RFC_OK);
}

TEST_F(NwCallsTest, HandlesOfOtherKindsOrDestroyedAreInvalid) {
  UseLandscape(kNwLandscape);
  RFC_CONNECTION_HANDLE connection = OpenPrd();
  RFC_FUNCTION_HANDLE function = Function(connection, "RFC_SYSTEM_INFO");
  RFC_ERROR_INFO info = Dirty();
  RFC_STRUCTURE_HANDLE structure = nullptr;
  ASSERT_EQ(RfcGetStructure(function, Sap("RFCSI_EXPORT").c_str(), &structure, &info), RFC_OK);
  // A structure is no function to invoke, a function no description.
  EXPECT_EQ(RfcInvoke(connection, structure, &info), RFC_INVALID_HANDLE);
  EXPECT_EQ(Describe(info),
            "13/5 RFC_INVALID_HANDLE: An invalid handle 'RFC_FUNCTION_HANDLE' was passed to the "
            "API call");
  EXPECT_EQ(RfcCreateFunction(reinterpret_cast<RFC_FUNCTION_DESC_HANDLE>(function), &info),
            nullptr);
  EXPECT_EQ(Describe(info),
            "13/5 RFC_INVALID_HANDLE: An invalid handle 'RFC_FUNCTION_DESC_HANDLE' was passed to "
            "the API call");
  EXPECT_EQ(RfcDestroyFunction(function, &info), RFC_OK);
  // The function's structures go with it.
  RFC_CHAR unused[8];
  EXPECT_EQ(RfcGetChars(structure, Sap("RFCHOST").c_str(), unused, 0, &info),
            RFC_INVALID_HANDLE);
  EXPECT_EQ(Describe(info),
            "13/5 RFC_INVALID_HANDLE: An invalid handle 'DATA_CONTAINER_HANDLE' was passed to the "
            "API call");
  EXPECT_EQ(RfcDestroyFunction(function, &info), RFC_INVALID_HANDLE);
  EXPECT_EQ(RfcCloseConnection(connection, &info), RFC_OK);
}

TEST(NwRcNamesTest, ReturnCodesByName) {
  struct Case {
    RFC_RC rc;
    const char* name;
  };
  const Case cases[] = {{RFC_OK, "RFC_OK"},
                        {RFC_ABAP_EXCEPTION, "RFC_ABAP_EXCEPTION"},
                        {RFC_INVALID_HANDLE, "RFC_INVALID_HANDLE"},
                        {RFC_BUFFER_TOO_SMALL, "RFC_BUFFER_TOO_SMALL"},
                        {RFC_IO_FAILURE, "RFC_IO_FAILURE"},
                        {static_cast<RFC_RC>(33), "RFC_UNKNOWN_ERROR"},
                        {static_cast<RFC_RC>(-1), "RFC_UNKNOWN_ERROR"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const SAP_UC* name = RfcGetRcAsString(c.rc);
    std::size_t length = 0;
    while (name[length] != 0) ++length;
    EXPECT_EQ(Plain(name, length), c.name);
  }
}

}  // namespace
}  // namespace kelvoran
