#include "simulated_systems.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "simrfc/probe_exchange.h"
#include "simrfc/sim_rfc_fixture.h"

namespace simrfc {
namespace {

constexpr const char* kText =
    "\xEF\xBB\xBF# two systems\r\n"
    "[PRD]\r\n"
    "ASHOST = sapprd01\r\n"
    "SYSNR = 07\r\n"
    "LOGON = 100 MONI pass word\r\n"
    "TAB_CNT = 41234\r\n"
    "\r\n"
    "[R2X]\n"
    "GWHOST = gw01\n"
    "GWSERV = sapgw02\n"
    "MISS_TABLES = ZTAB1\n";

// What the index hands out for a system, as far as a connection uses it.
std::string Describe(const SystemEntry* system) {
  if (system == nullptr) return "none";
  std::string text = system->name + " line " + std::to_string(system->line) + ":";
  for (const Logon& logon : system->logons) {
    text += " logon " + logon.client + " " + logon.user + " " + logon.password;
  }
  for (const auto& [field, value] : system->answers) text += " " + field + "=" + value;
  for (const auto& [table, rows] : system->tableRows) {
    for (const std::string& row : rows) text += " " + table + "+" + row;
  }
  return text;
}

TEST(IndexedLandscapeTest, FindsEachSystemByItsWayInAsTheWholeReadingDoes) {
  std::string error;
  const std::optional<IndexedLandscape> landscape =
      IndexedLandscape::Read(kText, "Landscape.ini", error);
  ASSERT_TRUE(landscape) << error;
  const std::string prd = "PRD line 2: logon 100 MONI pass word TAB_CNT=41234";
  const std::string r2x = "R2X line 8: MISS_TABLES+ZTAB1";
  const LandscapeResult whole = ParseLandscape(kText, "Landscape.ini");
  ASSERT_EQ(whole.landscape.systems.size(), 2u);
  EXPECT_EQ(Describe(&whole.landscape.systems[0]), prd);
  EXPECT_EQ(Describe(&whole.landscape.systems[1]), r2x);

  struct Case {
    const char* label;
    const SystemEntry* found;
    std::string expected;
  } cases[] = {
      {"server, host in another letter case", landscape->FindByServer("SapPrd01", 7), prd},
      {"server, another system number", landscape->FindByServer("sapprd01", 0), "none"},
      {"server, unknown host", landscape->FindByServer("sapqas01", 7), "none"},
      {"gateway, letter case ignored", landscape->FindByGateway("GW01", "SAPGW02"), r2x},
      {"gateway, another service", landscape->FindByGateway("gw01", "sapgw00"), "none"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(Describe(c.found), c.expected);
  }
  EXPECT_TRUE(landscape->HasServerHost("SAPPRD01"));
  EXPECT_FALSE(landscape->HasServerHost("sapprd0"));
  EXPECT_FALSE(landscape->HasServerHost("gw01"));
  EXPECT_TRUE(landscape->HasGatewayHost("Gw01"));
  EXPECT_FALSE(landscape->HasGatewayHost("sapprd01"));
}

TEST(IndexedLandscapeTest, ReadsAForgottenEntryAgain) {
  std::string error;
  const std::optional<IndexedLandscape> landscape =
      IndexedLandscape::Read(kText, "Landscape.ini", error);
  ASSERT_TRUE(landscape) << error;
  const SystemEntry* prd = landscape->FindByServer("sapprd01", 7);
  const SystemEntry* r2x = landscape->FindByGateway("gw01", "sapgw02");
  const std::string before = Describe(prd);
  EXPECT_EQ(landscape->HeldEntries(), 2u);

  // The entry still needed stays where it is; the other one is read again when asked for.
  landscape->ForgetEntries([r2x](const SystemEntry* system) { return system == r2x; });
  EXPECT_EQ(landscape->HeldEntries(), 1u);
  EXPECT_EQ(landscape->FindByGateway("gw01", "sapgw02"), r2x);
  EXPECT_EQ(Describe(landscape->FindByServer("sapprd01", 7)), before);
  EXPECT_EQ(landscape->HeldEntries(), 2u);
}

TEST(IndexedLandscapeTest, RefusesAMalformedTextWithItsFirstMistake) {
  struct Case {
    const char* label;
    std::string more;  // appended to the two systems
    std::string error;
  } cases[] = {
      {"way in of an earlier system", "[QAS]\nASHOST = SAPPRD01\nSYSNR = 07\n",
       "Landscape.ini line 12: system QAS: ASHOST SAPPRD01 with SYSNR 07 already reaches system "
       "PRD"},
      {"both ways in taken: the earlier system is named",
       "[QAS]\nGWHOST = GW01\nGWSERV = SAPGW02\nASHOST = sapprd01\nSYSNR = 07\n",
       "Landscape.ini line 12: system QAS: ASHOST sapprd01 with SYSNR 07 already reaches system "
       "PRD"},
      {"name of an earlier system", "[prd]\n",
       "Landscape.ini line 12: system prd is given twice (first in line 2)"},
      {"a mistake before the end of the last system", "[QAS]\nASHOST = SAPPRD01\nX = 1\n",
       "Landscape.ini line 14: unknown key 'X'"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    const std::string text = kText + c.more;
    std::string error;
    EXPECT_FALSE(IndexedLandscape::Read(text, "Landscape.ini", error));
    EXPECT_EQ(error, c.error);
    EXPECT_EQ(ParseLandscape(text, "Landscape.ini").error, c.error);
  }
}

// The library reads a system's entry when a connection reaches it and forgets it once no
// connection needs it; an open connection keeps answering for its own system throughout.
class LandscapeEntriesTest : public kelvoran::SimRfcTest {};

TEST_F(LandscapeEntriesTest, ConnectionKeepsItsSystemWhileOthersComeAndGo) {
  UseLandscape(
      "[PRD]\nASHOST = sapprd01\nSYSNR = 00\nLOGON = 100 MONI secret\n"
      "[QAS]\nASHOST = sapqas01\nSYSNR = 00\nLOGON = 100 MONI secret\n"
      "[TST]\nASHOST = saptst01\nSYSNR = 00\nLOGON = 100 MONI secret\n");
  const RFC_HANDLE prd = OpenServer("sapprd01", 0);
  ASSERT_NE(prd, 0u);
  for (const char* host : {"sapqas01", "saptst01", "sapqas01"}) {
    SCOPED_TRACE(host);
    const RFC_HANDLE other = OpenServer(host, 0);
    ASSERT_NE(other, 0u);
    RfcClose(other);
  }
  kelvoran::ProbeExchange exchange(prd);
  ASSERT_EQ(exchange.CallSystemInfo(), RFC_OK);
  EXPECT_EQ(std::string(exchange.systemInfo + 53, 8), "PRD     ");  // RFCSYSID
  RfcClose(prd);
}

}  // namespace
}  // namespace simrfc
