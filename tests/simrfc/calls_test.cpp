#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <functional>
#include <iterator>
#include <string>

#include "simrfc/probe_exchange.h"
#include "simrfc/sim_rfc_fixture.h"

namespace kelvoran {
namespace {

const std::string kPrd =
    "[PRD]\n"
    "ASHOST = sapprd01.example.com\n"
    "SYSNR = 00\n"
    "LOGON = 100 MONI secret\n";

std::string Padded(const std::string& text, std::size_t length) {
  std::string padded = text;
  padded.resize(length, ' ');
  return padded;
}

std::string Hex(const char* bytes, std::size_t length) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string text;
  for (std::size_t i = 0; i < length; ++i) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    text += kDigits[byte >> 4];
    text += kDigits[byte & 0xf];
  }
  return text;
}

std::int32_t IntAt(const char* record, std::size_t offset) {
  std::int32_t value;
  std::memcpy(&value, record + offset, sizeof value);
  return value;
}

class CallsTest : public SimRfcTest {
 protected:
  RFC_HANDLE Open(const std::string& landscape) {
    UseLandscape(landscape.c_str());
    return OpenServer("sapprd01.example.com", 0);
  }
};

TEST_F(CallsTest, SystemInfoAnswersWithLandscapeValuesAndDefaults) {
  const RFC_HANDLE handle = Open(kPrd +
                                "RFCSAPRL = 620\n"
                                "RFCIPADDR = 10.1.2.3\n"
                                "CURRENT_RESOURCES = 3\n"
                                "MAXIMAL_RESOURCES = 5\n"
                                "RECOMMENDED_DELAY = -2\n"
                                "DIALOG_USER_TYPE = A\n");
  ProbeExchange probe(handle);
  ASSERT_EQ(probe.CallSystemInfo(), RFC_OK) << LastMessage();
  const std::string expected =
      Padded("011", 3) + Padded("1100", 4) + Padded("LIT", 3) + Padded("IE3", 3) +
      Padded("sapprd01.example.com_PRD_00", 32) + Padded("sapprd01", 8) + Padded("PRD", 8) +
      Padded("PRD", 8) + Padded("sapprd01.example.com", 32) + Padded("DB4", 10) + Padded("620", 4) +
      Padded("324", 5) + Padded("OS400", 10) + Padded("3600", 6) + Padded("", 1) +
      Padded("10.1.2.3", 15) + Padded("46D", 4) + Padded("", 44);
  EXPECT_EQ(std::string(probe.systemInfo, 200), expected);
  EXPECT_EQ(probe.currentResources, 3);
  EXPECT_EQ(probe.maximalResources, 5);
  EXPECT_EQ(probe.recommendedDelay, -2);
  EXPECT_EQ(probe.dialogUserType, 'A');
  EXPECT_EQ(probe.loginComplete, 'X');
  EXPECT_EQ(Trace(), "");
}

TEST_F(CallsTest, Db4InfoRecordDecodesFieldByField) {
  const RFC_HANDLE handle = Open(kPrd +
                                "DBSYS = DB4\n"
                                "FS_A_DATE = 20240229\n"
                                "FS_A_TIME = 235959\n"
                                "SYSID = PRD\n"
                                "TAB_CNT = 41234\n"
                                "CST_CNT = 40001\n"
                                "IDX_CNT = -5\n"
                                "TAB_SIZE = 123456789012345\n"
                                "IDX_SIZE = -42\n"
                                "TAB_MIS_DB = 1\nCST_MIS_DB = 2\nIDX_MIS_DB = 3\nVIE_MIS_DB = 4\n"
                                "TAB_MIS_DD = 5\nIDX_MIS_DD = 6\nCST_MIS_DD = 7\nVIE_MIS_DD = 8\n"
                                "SYS_ASP_P = 63.12345\n"
                                "SYS_ASP_S = -1234.5\n"
                                "ASP_TOT_S = 999.9\n"
                                "API_QWCRSSTS_RC = 7\n"
                                "ADDTL_INDEX = ZIDX~1\n"
                                "MISS_TABLES = ZTAB1\n"
                                "MISS_TABLES = ZTAB2\n");
  ProbeExchange probe(handle);
  ASSERT_EQ(probe.CallDb4Info(), RFC_OK) << LastMessage();
  const char* record = probe.db4Record;

  struct TextField {
    const char* name;
    std::size_t offset, length;
    const char* text;
  } texts[] = {{"DBSYS", 0, 10, "DB4       "},
               {"FS_A_DATE", 10, 8, "20240229"},
               {"FS_A_TIME", 18, 6, "235959"},
               {"SYSID", 24, 8, "PRD     "}};
  for (const TextField& f : texts) {
    SCOPED_TRACE(f.name);
    EXPECT_EQ(std::string(record + f.offset, f.length), f.text);
  }
  struct IntField {
    const char* name;
    std::size_t offset;
    std::int32_t value;
  } ints[] = {{"TAB_CNT", 32, 41234}, {"CST_CNT", 36, 40001}, {"IDX_CNT", 40, -5},
              {"TAB_MIS_DB", 68, 1},  {"CST_MIS_DB", 72, 2},  {"IDX_MIS_DB", 76, 3},
              {"VIE_MIS_DB", 80, 4},  {"TAB_MIS_DD", 84, 5},  {"IDX_MIS_DD", 88, 6},
              {"CST_MIS_DD", 92, 7},  {"VIE_MIS_DD", 96, 8}};
  for (const IntField& f : ints) {
    SCOPED_TRACE(f.name);
    EXPECT_EQ(IntAt(record, f.offset), f.value);
  }
  struct PackedField {
    const char* name;
    std::size_t offset, length;
    const char* hex;
  } packed[] = {{"TAB_SIZE", 44, 8, "123456789012345C"}, {"CST_SIZE", 52, 8, "000000000000000C"},
                {"IDX_SIZE", 60, 8, "000000000000042D"}, {"SYS_ASP_P", 100, 8, "000000006312345C"},
                {"SYS_ASP_S", 108, 6, "00000012345D"},   {"ASP_TOT_S", 114, 6, "00000009999C"}};
  for (const PackedField& f : packed) {
    SCOPED_TRACE(f.name);
    EXPECT_EQ(Hex(record + f.offset, f.length), f.hex);
  }
  EXPECT_EQ(probe.apiResult, 7);

  const std::vector<std::string> noRows;
  const std::vector<std::string> rows[] = {{Padded("ZIDX~1", 40)},
                                           noRows,
                                           noRows,
                                           noRows,
                                           {Padded("ZTAB1", 40), Padded("ZTAB2", 40)},
                                           noRows};
  for (int i = 0; i < 6; ++i) {
    SCOPED_TRACE(kObjectTables[i]);
    EXPECT_EQ(SimRfcTableRows(probe.tables[i]), rows[i]);
  }
}

TEST_F(CallsTest, ShortEntryAnswersWithDefaults) {
  const RFC_HANDLE handle = Open(kPrd);
  ProbeExchange probe(handle);
  ASSERT_EQ(probe.CallDb4Info(), RFC_OK) << LastMessage();
  // Date and time of the call, the system's name as its ID, nothing counted.
  EXPECT_EQ(std::string(probe.db4Record, 32), "DB4       20241007103001PRD     ");
  EXPECT_EQ(IntAt(probe.db4Record, 32), 0);
  EXPECT_EQ(Hex(probe.db4Record + 114, 6), "00000000000C");
  EXPECT_EQ(probe.apiResult, 0);
  EXPECT_EQ(SimRfcTableRows(probe.tables[0]), std::vector<std::string>());
}

TEST_F(CallsTest, InjectedCallAndReceiveFaults) {
  struct Case {
    const char* label;
    const char* fault;
    int result;
    const char* exception;
    const char* key;
    const char* message;
    int next;  // result of the same call once more
  } cases[] = {
      {"call fails", "FAIL_CALL = RFC_SYSTEM_INFO", 100 + RFC_FAILURE, "<null>",
       "RFC_ERROR_COMMUNICATION", "connection to partner broken while calling RFC_SYSTEM_INFO",
       100 + RFC_FAILURE},
      {"receive fails", "FAIL_RECEIVE = RFC_SYSTEM_INFO 1", RFC_FAILURE, "<null>",
       "RFC_ERROR_COMMUNICATION",
       "connection to partner broken while receiving the answer of RFC_SYSTEM_INFO",
       100 + RFC_FAILURE},
      {"module exception", "FAIL_RECEIVE = RFC_SYSTEM_INFO 2 NOT_AUTHORIZED", RFC_EXCEPTION,
       "NOT_AUTHORIZED", "RFC_ERROR_APPLICATION_EXCEPTION",
       "RFC_SYSTEM_INFO raised the exception NOT_AUTHORIZED", RFC_EXCEPTION},
      {"system exception", "FAIL_RECEIVE = RFC_SYSTEM_INFO 3", RFC_SYS_EXCEPTION, "SYSTEM_FAILURE",
       "RFC_ERROR_SYSTEM_FAILURE", "ABAP runtime error in RFC_SYSTEM_INFO", 100 + RFC_FAILURE},
      {"named system exception", "FAIL_RECEIVE = RFC_SYSTEM_INFO 3 COMMUNICATION_FAILURE",
       RFC_SYS_EXCEPTION, "COMMUNICATION_FAILURE", "RFC_ERROR_SYSTEM_FAILURE",
       "ABAP runtime error in RFC_SYSTEM_INFO", 100 + RFC_FAILURE},
      {"other code", "FAIL_RECEIVE = RFC_SYSTEM_INFO 7", 7, "<null>", "RFC_ERROR_PROGRAM",
       "RFC_SYSTEM_INFO ended with return code 7", 7},
      {"negative code", "FAIL_RECEIVE = RFC_SYSTEM_INFO -1", -1, "<null>", "RFC_ERROR_PROGRAM",
       "RFC_SYSTEM_INFO ended with return code -1", -1},
      {"texts from the landscape",
       "FAIL_RECEIVE = RFC_SYSTEM_INFO 3\nERROR_KEY = RFC_IO27\nERROR_MESSAGE = dump "
       "MESSAGE_TYPE_X",
       RFC_SYS_EXCEPTION, "SYSTEM_FAILURE", "RFC_IO27", "dump MESSAGE_TYPE_X", 100 + RFC_FAILURE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    const RFC_HANDLE handle = Open(kPrd + c.fault + "\n");
    ProbeExchange probe(handle);
    EXPECT_EQ(probe.CallSystemInfo(), c.result);
    EXPECT_EQ(probe.Exception(), c.exception);
    EXPECT_EQ(std::string(LastError().key), c.key);
    EXPECT_EQ(LastMessage(), c.message);
    EXPECT_EQ(probe.CallSystemInfo(), c.next);
    // A fault of one module leaves the other alone.
    if (c.next != 100 + RFC_FAILURE) {
      EXPECT_EQ(probe.CallDb4Info(), RFC_OK);
    }
    RfcClose(handle);
  }
}

TEST_F(CallsTest, MisuseOfTheInterfaceFailsTheCall) {
  using Action = std::function<int(ProbeExchange&)>;
  struct Case {
    const char* label;
    Action action;
    const char* message;
  } cases[] = {
      {"unknown function module",
       [](ProbeExchange& p) {
         return p.Call("RFC_SYSTEM_INF", p.SystemInfoList(), p.NoTables(), p.NoTables());
       },
       "function module RFC_SYSTEM_INF not found"},
      {"record one character short",
       [](ProbeExchange& p) {
         auto list = p.SystemInfoList();
         list[4].leng = 199;
         return p.Call("RFC_SYSTEM_INFO", list, p.NoTables(), p.NoTables());
       },
       "parameter RFCSI_EXPORT has length 199, RFCSI is 200 bytes long"},
      {"integer received as characters",
       [](ProbeExchange& p) {
         auto list = p.SystemInfoList();
         list[0].type = TYPC;
         return p.Call("RFC_SYSTEM_INFO", list, p.NoTables(), p.NoTables());
       },
       "parameter CURRENT_RESOURCES has type 0, it is of type 8"},
      {"integer of two bytes",
       [](ProbeExchange& p) {
         auto list = p.SystemInfoList();
         list[2].leng = 2;
         return p.Call("RFC_SYSTEM_INFO", list, p.NoTables(), p.NoTables());
       },
       "parameter MAXIMAL_RESOURCES has length 2, it is 4 bytes long"},
      {"name length beyond the name",
       [](ProbeExchange& p) {
         auto list = p.SystemInfoList();
         list[0].nlen = 18;
         return p.Call("RFC_SYSTEM_INFO", list, p.NoTables(), p.NoTables());
       },
       "parameter 1: name length 18 is longer than the name 'CURRENT_RESOURCES'"},
      {"name length short of the name",
       [](ProbeExchange& p) {
         auto list = p.SystemInfoList();
         list[5].nlen = 17;
         return p.Call("RFC_SYSTEM_INFO", list, p.NoTables(), p.NoTables());
       },
       "RFC_SYSTEM_INFO has no export parameter 'RFC_LOGIN_COMPLET'"},
      {"unknown type handle",
       [](ProbeExchange& p) {
         auto list = p.SystemInfoList();
         list[4].type = 0x999;
         return p.Call("RFC_SYSTEM_INFO", list, p.NoTables(), p.NoTables());
       },
       "parameter RFCSI_EXPORT has the unknown type handle 0x999"},
      {"record as a basic type",
       [](ProbeExchange& p) {
         auto list = p.SystemInfoList();
         list[4].type = TYPC;
         return p.Call("RFC_SYSTEM_INFO", list, p.NoTables(), p.NoTables());
       },
       "parameter RFCSI_EXPORT has the basic type 0, not a structure of the layout RFCSI"},
      {"RFCSI of 17 fields",
       [](ProbeExchange& p) {
         auto list = p.SystemInfoList();
         list[4].type = InstallEntries("RFCSI17", kRfcsiElements, 17);
         return p.Call("RFC_SYSTEM_INFO", list, p.NoTables(), p.NoTables());
       },
       "parameter RFCSI_EXPORT does not fit RFCSI: structure RFCSI17 has 17 fields, RFCSI has "
       "18"},
      {"no address",
       [](ProbeExchange& p) {
         auto list = p.SystemInfoList();
         list[1].addr = nullptr;
         return p.Call("RFC_SYSTEM_INFO", list, p.NoTables(), p.NoTables());
       },
       "parameter DIALOG_USER_TYPE has no address"},
      {"table the module does not have",
       [](ProbeExchange& p) {
         return p.Call("RFC_SYSTEM_INFO", p.SystemInfoList(), p.Db4Tables(), p.NoTables());
       },
       "RFC_SYSTEM_INFO has no table 'ADDTL_INDEX'"},
      {"DB02INFDB4 with a wider field",
       [](ProbeExchange& p) {
         ElementEntry entries[21];
         std::copy(std::begin(kDb4InfoElements), std::end(kDb4InfoElements), entries);
         entries[19].length = 7;
         auto list = p.Db4InfoList();
         list[1].type = InstallEntries("ZDB4", entries, 21);
         return p.Call("DB02_DB4_GET_INFO", list, p.Db4Tables(), p.Db4Tables());
       },
       "parameter DB02_DISPLAYED_INFO does not fit DB02INFDB4: structure ZDB4: field 20 "
       "(SYS_ASP_S) has type 2, length 7, decimals 1, offset 108; DB02INFDB4 has SYS_ASP_S with "
       "type 2, length 6, decimals 1, offset 108"},
      {"row length 39",
       [](ProbeExchange& p) {
         auto tables = p.Db4Tables();
         tables[2].leng = 39;
         return p.Call("DB02_DB4_GET_INFO", p.Db4InfoList(), tables, p.Db4Tables());
       },
       "table ADDTL_VIEWS has length 39, MISSOBJ is 40 bytes long"},
      {"table created with rows of 39",
       [](ProbeExchange& p) {
         ItDelete(p.tables[5]);
         p.tables[5] = ItCreate(Text("MISS_VIEWS"), 39, 0, 0);
         return p.Call("DB02_DB4_GET_INFO", p.Db4InfoList(), p.Db4Tables(), p.Db4Tables());
       },
       "table MISS_VIEWS was created with rows of 39 bytes, MISSOBJ is 40 bytes long"},
      {"table name length short of the name",
       [](ProbeExchange& p) {
         auto tables = p.Db4Tables();
         tables[1].nlen = 11;
         return p.Call("DB02_DB4_GET_INFO", p.Db4InfoList(), tables, p.Db4Tables());
       },
       "DB02_DB4_GET_INFO has no table 'ADDTL_TABLE'"},
      {"deleted table",
       [](ProbeExchange& p) {
         ItDelete(p.tables[0]);
         auto tables = p.Db4Tables();
         p.tables[0] = nullptr;
         return p.Call("DB02_DB4_GET_INFO", p.Db4InfoList(), tables, p.Db4Tables());
       },
       "table ADDTL_INDEX has a handle that is no table of ItCreate (or one deleted)"},
      {"record type as row type",
       [](ProbeExchange& p) {
         auto tables = p.Db4Tables();
         tables[0].type = p.db4Info;
         return p.Call("DB02_DB4_GET_INFO", p.Db4InfoList(), p.Db4Tables(), tables);
       },
       "table ADDTL_INDEX does not fit MISSOBJ: structure DB02INFDB4 has 21 fields, MISSOBJ has "
       "1"},
      {"receive without a call",
       [](ProbeExchange& p) {
         auto list = p.SystemInfoList();
         auto tables = p.NoTables();
         return RfcReceive(1, list.data(), tables.data(), &p.exception);
       },
       "no RfcCall waits for its answer"},
      {"second call before the answer",
       [](ProbeExchange& p) {
         auto tables = p.NoTables();
         RFC_PARAMETER none[] = {{nullptr, 0, 0, 0, nullptr}};
         RfcCall(1, Text("RFC_SYSTEM_INFO"), none, tables.data());
         return RfcCall(1, Text("RFC_SYSTEM_INFO"), none, tables.data());
       },
       "the answer of RFC_SYSTEM_INFO is not received yet"},
      {"parameter sent to a module that takes none",
       [](ProbeExchange& p) {
         auto tables = p.NoTables();
         auto list = p.SystemInfoList();
         return RfcCall(1, Text("RFC_SYSTEM_INFO"), list.data(), tables.data());
       },
       "RFC_SYSTEM_INFO has no importing parameter 'CURRENT_RESOURCES'"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    SimRfcReset();
    SimRfcSetDirectory(dir_.Path().string().c_str());
    SimRfcFixLocalTime(FixedTestTime());
    const RFC_HANDLE handle = Open(kPrd);
    ASSERT_EQ(handle, 1u);
    ProbeExchange probe(handle);
    const int result = c.action(probe);
    EXPECT_TRUE(result == RFC_FAILURE || result == 100 + RFC_FAILURE) << result;
    EXPECT_EQ(std::string(LastError().key), "RFC_ERROR_PROGRAM");
    EXPECT_EQ(LastMessage(), c.message);
    const std::string trace = Trace();
    EXPECT_EQ(trace.substr(trace.rfind("T:0001 ======> ")),
              std::string("T:0001 ======> ") + c.message + "\n");
    std::filesystem::remove(dir_.Path() / "Dev_Rfc.Trc");
  }
}

}  // namespace
}  // namespace kelvoran
