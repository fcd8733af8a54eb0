// Reading the answers by field name: the buffer rules of RfcGetChars and RfcGetString, packed
// numbers as decimal text, integers, the error record on success and failure.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "simnwrfc/nwrfc_fixture.h"

namespace kelvoran {
namespace {

class NwFieldsTest : public SimNwRfcTest {
 protected:
  void SetUp() override {
    SimNwRfcTest::SetUp();
    UseLandscape(std::string(kNwLandscape) +
                 "\n[UML]\nASHOST = sapuml01\nSYSNR = 00\nLOGON = 100 MONI x\n"
                 "RFCHOST = h\xC3\xBCst\nRFCDBSYS = DB4 \xFC\nSYS_ASP_P = -.5\n");
  }

  // The structure `name` of a function of `module`, invoked on `connection`.
  static RFC_STRUCTURE_HANDLE Answer(RFC_CONNECTION_HANDLE connection, const char* module,
                                     const char* name, bool invoke = true) {
    RFC_FUNCTION_HANDLE function = Function(connection, module);
    RFC_ERROR_INFO info = Dirty();
    if (invoke) {
      EXPECT_EQ(RfcInvoke(connection, function, &info), RFC_OK) << Describe(info);
    }
    RFC_STRUCTURE_HANDLE structure = nullptr;
    EXPECT_EQ(RfcGetStructure(function, Sap(name).c_str(), &structure, &info), RFC_OK)
        << Describe(info);
    return structure;
  }

  // RfcGetChars into a buffer of `length` units (and one guard unit that must stay), shown
  // as text with "|" for the guard.
  static std::string Chars(DATA_CONTAINER_HANDLE container, const char* field, unsigned length,
                           RFC_RC expected) {
    std::vector<RFC_CHAR> buffer(length + 1, static_cast<RFC_CHAR>('|'));
    RFC_ERROR_INFO info = Dirty();
    EXPECT_EQ(RfcGetChars(container, Sap(field).c_str(), buffer.data(), length, &info), expected)
        << Describe(info);
    return Plain(buffer.data(), buffer.size());
  }
};

TEST_F(NwFieldsTest, GetCharsPadsWithBlanksWithoutNulAndCutsIntoATooSmallBuffer) {
  RFC_CONNECTION_HANDLE connection = OpenPrd();
  RFC_STRUCTURE_HANDLE system = Answer(connection, "RFC_SYSTEM_INFO", "RFCSI_EXPORT");
  RFC_STRUCTURE_HANDLE db4 = Answer(connection, "DB02_DB4_GET_INFO", "DB02_DISPLAYED_INFO");
  struct Case {
    const char* label;
    DATA_CONTAINER_HANDLE container;
    const char* field;
    unsigned length;
    RFC_RC rc;
    const char* text;
  };
  const Case cases[] = {
      {"host in its field's length", system, "RFCHOST", 8, RFC_OK, "sapprd01|"},
      {"database system padded", system, "RFCDBSYS", 10, RFC_OK, "DB4       |"},
      {"a longer buffer padded", system, "RFCHOST", 12, RFC_OK, "sapprd01    |"},
      {"shorter than the field, long enough for the text", system, "RFCDBSYS", 3,
       RFC_BUFFER_TOO_SMALL, "DB4|"},
      {"shorter than the text", system, "RFCHOST", 5, RFC_BUFFER_TOO_SMALL, "sappr|"},
      {"date", db4, "FS_A_DATE", 8, RFC_OK, "20241007|"},
      {"time", db4, "FS_A_TIME", 6, RFC_OK, "061500|"},
      {"system ID defaults to the system's name", db4, "SYSID", 8, RFC_OK, "PRD     |"},
      {"an integer as text", db4, "TAB_CNT", 10, RFC_OK, "41234     |"},
      {"an integer cut", db4, "TAB_CNT", 4, RFC_BUFFER_TOO_SMALL, "4123|"},
      {"a packed number as text", db4, "SYS_ASP_P", 10, RFC_OK, "63.41250  |"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(Chars(c.container, c.field, c.length, c.rc), c.text);
  }
  // The cut text's record names the sizes.
  RFC_CHAR small[5];
  RFC_ERROR_INFO info = Dirty();
  EXPECT_EQ(RfcGetChars(system, Sap("RFCHOST").c_str(), small, 5, &info), RFC_BUFFER_TOO_SMALL);
  EXPECT_EQ(Describe(info),
            "23/5 RFC_BUFFER_TOO_SMALL: buffer of 5 characters too small for field 'RFCHOST' of 8");
}

TEST_F(NwFieldsTest, TextsOfTheLandscapeAreUtf8OrLatin1) {
  RFC_ERROR_INFO info = Dirty();
  RFC_CONNECTION_HANDLE connection = OpenServer("sapuml01", "00", "100", "MONI", "x", info);
  ASSERT_NE(connection, nullptr) << Describe(info);
  RFC_STRUCTURE_HANDLE system = Answer(connection, "RFC_SYSTEM_INFO", "RFCSI_EXPORT");
  EXPECT_EQ(Chars(system, "RFCHOST", 8, RFC_OK), "h\\u00FCst    |");
  EXPECT_EQ(Chars(system, "RFCDBSYS", 10, RFC_OK), "DB4 \\u00FC     |");
}

TEST_F(NwFieldsTest, GetStringIsNulTerminatedAndTellsTheLengthWhenTooSmall) {
  RFC_ERROR_INFO info = Dirty();
  RFC_CONNECTION_HANDLE connection = OpenServer("sapuml01", "00", "100", "MONI", "x", info);
  ASSERT_NE(connection, nullptr) << Describe(info);
  RFC_STRUCTURE_HANDLE db4 = Answer(connection, "DB02_DB4_GET_INFO", "DB02_DISPLAYED_INFO");
  struct Case {
    unsigned length;
    RFC_RC rc;
    const char* buffer;  // the first 12 units
  };
  // "-0.50000": 8 characters, 9 with the NUL; the probe's buffer is 2 * 8 + 1 and the NUL.
  const Case cases[] = {
      {18, RFC_OK, "-0.50000\\u0000|||"},
      {9, RFC_OK, "-0.50000\\u0000|||"},
      {8, RFC_BUFFER_TOO_SMALL, "||||||||||||"},
      {0, RFC_BUFFER_TOO_SMALL, "||||||||||||"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.length);
    std::vector<SAP_UC> buffer(20, static_cast<SAP_UC>('|'));
    unsigned length = 99;
    info = Dirty();
    EXPECT_EQ(RfcGetString(db4, Sap("SYS_ASP_P").c_str(), buffer.data(), c.length, &length, &info),
              c.rc);
    EXPECT_EQ(length, 8u);
    EXPECT_EQ(Plain(buffer.data(), 12), c.buffer);
  }
  EXPECT_EQ(Describe(info),
            "23/5 RFC_BUFFER_TOO_SMALL: buffer of 0 characters too small for field 'SYS_ASP_P' "
            "of 8 and its end");
}

TEST_F(NwFieldsTest, IntegersAndInitialValuesBeforeTheCall) {
  RFC_CONNECTION_HANDLE connection = OpenPrd();
  RFC_STRUCTURE_HANDLE answered =
      Answer(connection, "DB02_DB4_GET_INFO", "DB02_DISPLAYED_INFO");
  RFC_STRUCTURE_HANDLE initial =
      Answer(connection, "DB02_DB4_GET_INFO", "DB02_DISPLAYED_INFO", false);
  struct Case {
    DATA_CONTAINER_HANDLE container;
    const char* field;
    RFC_INT value;
  };
  const Case cases[] = {{answered, "TAB_CNT", 41234},
                        {answered, "VIE_MIS_DD", -7},
                        {answered, "IDX_CNT", 0},
                        {initial, "TAB_CNT", 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.field);
    RFC_INT value = 12345;
    RFC_ERROR_INFO info = Dirty();
    EXPECT_EQ(RfcGetInt(c.container, Sap(c.field).c_str(), &value, &info), RFC_OK);
    EXPECT_EQ(value, c.value);
  }
  EXPECT_EQ(Chars(initial, "FS_A_DATE", 8, RFC_OK), "00000000|");
  EXPECT_EQ(Chars(initial, "FS_A_TIME", 6, RFC_OK), "000000|");
  EXPECT_EQ(Chars(initial, "DBSYS", 10, RFC_OK), "          |");
  EXPECT_EQ(Chars(initial, "SYS_ASP_P", 7, RFC_OK), "0.00000|");
}

TEST_F(NwFieldsTest, WrongNamesAndTypes) {
  RFC_CONNECTION_HANDLE connection = OpenPrd();
  RFC_FUNCTION_HANDLE function = Function(connection, "DB02_DB4_GET_INFO");
  RFC_STRUCTURE_HANDLE db4 = nullptr;
  RFC_ERROR_INFO info = Dirty();
  ASSERT_EQ(RfcGetStructure(function, Sap("DB02_DISPLAYED_INFO").c_str(), &db4, &info), RFC_OK);
  RFC_INT value = 0;
  RFC_CHAR text[10];
  RFC_STRUCTURE_HANDLE structure = nullptr;
  struct Case {
    const char* label;
    std::function<RFC_RC()> call;
    std::string record;
  };
  const Case cases[] = {
      {"unknown field", [&] { return RfcGetInt(db4, Sap("TAB_CNTX").c_str(), &value, &info); },
       "20/5 RFC_INVALID_PARAMETER: field 'TAB_CNTX' not found"},
      {"field of the function asked of its structure",
       [&] { return RfcGetInt(db4, Sap("API_QWCRSSTS_RC").c_str(), &value, &info); },
       "20/5 RFC_INVALID_PARAMETER: field 'API_QWCRSSTS_RC' not found"},
      {"characters as an integer",
       [&] { return RfcGetInt(db4, Sap("DBSYS").c_str(), &value, &info); },
       "22/5 RFC_CONVERSION_FAILURE: field 'DBSYS' of type CHAR cannot be read as INT"},
      {"packed number as an integer",
       [&] { return RfcGetInt(db4, Sap("SYS_ASP_P").c_str(), &value, &info); },
       "22/5 RFC_CONVERSION_FAILURE: field 'SYS_ASP_P' of type BCD cannot be read as INT"},
      {"structure as characters",
       [&] { return RfcGetChars(function, Sap("DB02_DISPLAYED_INFO").c_str(), text, 10, &info); },
       "22/5 RFC_CONVERSION_FAILURE: field 'DB02_DISPLAYED_INFO' of type STRUCTURE cannot be "
       "read as a single value"},
      {"integer as a structure",
       [&] {
         return RfcGetStructure(function, Sap("API_QWCRSSTS_RC").c_str(), &structure, &info);
       },
       "22/5 RFC_CONVERSION_FAILURE: field 'API_QWCRSSTS_RC' of type INT cannot be read as "
       "STRUCTURE"},
      {"no name", [&] { return RfcGetInt(db4, nullptr, &value, &info); },
       "20/5 RFC_INVALID_PARAMETER: Invalid parameter 'const SAP_UC* name' was passed to the "
       "API call"},
      {"no buffer", [&] { return RfcGetChars(db4, Sap("DBSYS").c_str(), nullptr, 10, &info); },
       "20/5 RFC_INVALID_PARAMETER: Invalid parameter 'RFC_CHAR* charBuffer' was passed to the "
       "API call"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    info = Dirty();
    EXPECT_EQ(c.call(), info.code);
    EXPECT_EQ(Describe(info), c.record);
  }
}

TEST_F(NwFieldsTest, SuccessZeroesTheRecordAndNoRecordIsNeeded) {
  RFC_CONNECTION_HANDLE connection = OpenPrd();
  RFC_STRUCTURE_HANDLE db4 = Answer(connection, "DB02_DB4_GET_INFO", "DB02_DISPLAYED_INFO");
  RFC_INT value = 0;
  RFC_ERROR_INFO info = Dirty();
  ASSERT_EQ(RfcGetInt(db4, Sap("TAB_CNT").c_str(), &value, &info), RFC_OK);
  const std::vector<unsigned char> zeros(sizeof info, 0);
  EXPECT_EQ(std::memcmp(&info, zeros.data(), sizeof info), 0);
  // No error record: the calls work and fail all the same.
  EXPECT_EQ(RfcGetInt(db4, Sap("TAB_CNT").c_str(), &value, nullptr), RFC_OK);
  EXPECT_EQ(RfcGetInt(db4, Sap("NOPE").c_str(), &value, nullptr), RFC_INVALID_PARAMETER);
  EXPECT_EQ(RfcGetFunctionDesc(connection, Sap("NOPE").c_str(), nullptr), nullptr);
  EXPECT_EQ(RfcCloseConnection(connection, nullptr), RFC_OK);
}

TEST_F(NwFieldsTest, ErrorRecordLiesAtTheOffsetsOfSapsLayout) {
  // Read back byte by byte, not through the declared record: code at 0, group at 4, key at 8,
  // message at 264, ABAP message class at 1288, number at 1334, first variable at 1342.
  RFC_CONNECTION_HANDLE connection = OpenPrd();
  RFC_ERROR_INFO info = Dirty();
  ASSERT_EQ(RfcGetFunctionDesc(connection, Sap("ZX").c_str(), &info), nullptr);
  const unsigned char* bytes = reinterpret_cast<const unsigned char*>(&info);
  const auto number = [bytes](std::size_t at) {
    int value;
    std::memcpy(&value, bytes + at, sizeof value);
    return value;
  };
  const auto text = [bytes](std::size_t at) {
    std::string result;
    for (;; at += 2) {
      std::uint16_t unit;
      std::memcpy(&unit, bytes + at, sizeof unit);
      if (unit == 0) return result;
      result += static_cast<char>(unit);
    }
  };
  EXPECT_EQ(number(0), 5);
  EXPECT_EQ(number(4), 1);
  EXPECT_EQ(text(8), "FU_NOT_FOUND");
  EXPECT_EQ(text(264), "ID:FL Type:E Number:046 ZX");
  EXPECT_EQ(text(1288), "FL");
  EXPECT_EQ(text(1330), "E");
  EXPECT_EQ(text(1334), "046");
  EXPECT_EQ(text(1342), "ZX");
  EXPECT_EQ(RfcCloseConnection(connection, nullptr), RFC_OK);
}

}  // namespace
}  // namespace kelvoran
