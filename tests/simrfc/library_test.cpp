#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "simrfc/probe_exchange.h"
#include "simrfc/sim_rfc_fixture.h"

namespace kelvoran {
namespace {

std::vector<std::string> g_handledOperations;

void SAP_API RecordingHandler(char* operation) { g_handledOperations.push_back(operation); }

const std::string kLandscape =
    "[PRD]\n"
    "ASHOST = sapprd01\n"
    "SYSNR = 00\n"
    "LOGON = 100 MONI secret\n";

class LibraryFailureTest : public SimRfcTest {
 protected:
  LibraryFailureTest() {
    g_handledOperations.clear();
    dir_.Write("SapRfc.ini", "DEST=PRD\nASHOST=sapprd01\nSYSNR=00\n");
  }

  static void InstallHandler(RFC_ERROR_HANDLER handler) {
    RFC_ENV environment{handler, nullptr};
    RfcEnvironment(&environment);
  }
};

TEST_F(LibraryFailureTest, InjectedFailureCallsTheHandlerAndFailsTheOperation) {
  using Action = std::function<bool()>;  // true when the operation failed
  static RFC_HANDLE closed = 0;
  struct Case {
    const char* operation;
    Action action;
    Action after = nullptr;  // checked once the last error has been looked at
  } cases[] = {
      {"RfcOpen", [] { return OpenServer("sapprd01", 0) == 0; }},
      {"RfcOpenEx",
       [] {
         RFC_ERROR_INFO_EX info{};
         const bool failed =
             RfcOpenEx(Text("CLIENT=100 USER=MONI PASSWD=secret LANG=D DEST=PRD"), &info) == 0;
         return failed && std::string(info.message) == "connection pool exhausted";
       }},
      {"RfcCall",
       [] {
         ProbeExchange probe(OpenServer("sapprd01", 0));
         return probe.CallSystemInfo() == 100 + RFC_FAILURE;
       }},
      {"RfcReceive",
       [] {
         ProbeExchange probe(OpenServer("sapprd01", 0));
         return probe.CallSystemInfo() == RFC_FAILURE;
       }},
      {"RfcClose",
       [] {
         closed = OpenServer("sapprd01", 0);
         RfcClose(closed);
         return closed != 0;
       },
       [] {
         // The connection ends all the same.
         RFC_PARAMETER none[] = {{nullptr, 0, 0, 0, nullptr}};
         RFC_TABLE noTables[] = {{nullptr, 0, 0, 0, nullptr, 0, 0}};
         return RfcCall(closed, Text("RFC_SYSTEM_INFO"), none, noTables) == RFC_FAILURE &&
                LastMessage() == "connection handle " + std::to_string(closed) + " is closed";
       }},
      {"RfcInstallStructure",
       [] {
         OpenServer("sapprd01", 0);
         const ElementEntry row[] = {{"NAME", 0, 40, 0}};
         return InstallEntries("MISSOBJ", row, 1) == 0;
       }},
      {"ItCreate",
       [] {
         OpenServer("sapprd01", 0);
         return ItCreate(Text("ADDTL_INDEX"), 40, 0, 0) == nullptr;
       }},
      {"ItDelete",
       [] {
         OpenServer("sapprd01", 0);
         return ItDelete(ItCreate(Text("ADDTL_INDEX"), 40, 0, 0)) != 0;
       }},
  };
  for (const bool withHandler : {true, false}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.operation) + (withHandler ? " with handler" : " without"));
      g_handledOperations.clear();
      UseLandscape((kLandscape + "FAIL_HANDLER = " + c.operation +
                    "\nERROR_KEY = RFC_ERROR_RESOURCE\nERROR_STATUS = no connection\n"
                    "ERROR_MESSAGE = connection pool exhausted\nERROR_INTERNAL = 4711\n")
                       .c_str());
      InstallHandler(withHandler ? RecordingHandler : nullptr);
      EXPECT_TRUE(c.action());
      EXPECT_EQ(g_handledOperations,
                withHandler ? std::vector<std::string>{c.operation} : std::vector<std::string>{});
      const RFC_ERROR_INFO error = LastError();
      EXPECT_EQ(std::string(error.key), "RFC_ERROR_RESOURCE");
      EXPECT_EQ(std::string(error.status), "no connection");
      EXPECT_EQ(std::string(error.message), "connection pool exhausted");
      EXPECT_EQ(std::string(error.intstat), "4711");
      if (c.after) {
        EXPECT_TRUE(c.after());
      }
    }
  }
}

TEST_F(LibraryFailureTest, TableAndStructureFaultsHitTheirNamesOnly) {
  struct Case {
    const char* fault;
    std::function<bool()> failing;
    std::function<bool()> others;
    const char* message;
  } cases[] = {
      {"FAIL_INSTALL = DB02INFDB4",
       [] { return InstallEntries("DB02INFDB4", kDb4InfoElements, 21) == 0; },
       [] { return InstallEntries("RFCSI", kRfcsiElements, 18) != 0; },
       "structure DB02INFDB4 cannot be installed: no memory left"},
      {"FAIL_ITCREATE = MISS_TABLES",
       [] { return ItCreate(Text("MISS_TABLES"), 40, 0, 0) == nullptr; },
       [] { return ItDelete(ItCreate(Text("MISS_VIEWS"), 40, 0, 0)) == 0; },
       "internal table MISS_TABLES cannot be created: no memory left"},
      {"FAIL_ITDELETE = ADDTL_VIEWS",
       [] { return ItDelete(ItCreate(Text("ADDTL_VIEWS"), 40, 0, 0)) == 1; },
       [] { return ItDelete(ItCreate(Text("ADDTL_INDEX"), 40, 0, 0)) == 0; },
       "internal table ADDTL_VIEWS cannot be deleted"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fault);
    UseLandscape((kLandscape + c.fault + "\n[QAS]\nASHOST = sapqas01\nSYSNR = 00\n").c_str());
    // Before any connection there is no system to take faults from.
    EXPECT_FALSE(c.failing());
    ASSERT_NE(OpenServer("sapprd01", 0), 0u);
    EXPECT_TRUE(c.others());
    EXPECT_TRUE(c.failing());
    EXPECT_EQ(std::string(LastError().key), "RFC_ERROR_RESOURCE");
    EXPECT_EQ(LastMessage(), c.message);
    // The most recently opened connection's system counts.
    ASSERT_NE(OpenServer("sapqas01", 0), 0u);
    EXPECT_FALSE(c.failing());
  }
}

}  // namespace
}  // namespace kelvoran
