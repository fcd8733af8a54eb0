// sapnwrfc.ini: how its sections are read, and the per-destination route of RfcOpenConnection.
#include "simnwrfc/nwrfc_ini.h"

#include <gtest/gtest.h>

#include <string>

#include "simnwrfc/nwrfc_fixture.h"

namespace simnwrfc {
namespace {

std::string Show(const std::vector<IniDestination>& destinations) {
  std::string text;
  for (const IniDestination& destination : destinations) {
    text += (text.empty() ? "" : " ") + destination.name + "{";
    for (const auto& [key, value] : destination.values) text += key + "=" + value + ";";
    text += "}";
  }
  return text;
}

TEST(NwRfcIniTest, SectionsKeysAndComments) {
  struct Case {
    const char* label;
    const char* text;
    const char* read;
  };
  const Case cases[] = {
      {"keys in any case, blanks around", "DEST=PRD\nashost = sapprd01 \n\tSysNr=00\n",
       "PRD{ASHOST=sapprd01;SYSNR=00;}"},
      {"a section ends at an empty line", "DEST=PRD\nASHOST=a\n\nSYSNR=00\nDEST=QAS\nASHOST=b\n",
       "PRD{ASHOST=a;} QAS{ASHOST=b;}"},
      {"a blank line is empty", "DEST=PRD\nASHOST=a\n  \t\nSYSNR=00\n", "PRD{ASHOST=a;}"},
      {"comments do not end a section",
       "# the probe's\nDEST=PRD\n// host\nASHOST=a\n/* number */\nSYSNR=00\n",
       "PRD{ASHOST=a;SYSNR=00;}"},
      {"a DEFAULT section holds no destination",
       "DEFAULT\nRFC_TRACE=0\n\nDEST=PRD\nTRACE=1\n", "PRD{TRACE=1;}"},
      {"a new DEST begins a new section", "DEST=PRD\nASHOST=a\nDEST=QAS\nASHOST=b\n",
       "PRD{ASHOST=a;} QAS{ASHOST=b;}"},
      {"a destination given again keeps its first section",
       "DEST=PRD\nASHOST=a\n\nDEST=PRD\nASHOST=b\nSYSNR=01\n", "PRD{ASHOST=a;}"},
      {"a key given again keeps its first value", "DEST=PRD\nSYSNR=00\nsysnr=01\n",
       "PRD{SYSNR=00;}"},
      {"values are taken as written", "DEST=PRD\nPASSWD=\"a b\" # not a comment\nUSER=\n",
       "PRD{PASSWD=\"a b\" # not a comment;USER=;}"},
      {"CR LF, a byte order mark, lines without '='",
       "\xEF\xBB\xBF" "DEST=PRD\r\nASHOST=a\r\nnonsense\r\n=x\r\nSYSNR=00\r\n",
       "PRD{ASHOST=a;SYSNR=00;}"},
      {"a lone CR ends a line too", "DEST=PRD\rASHOST=a\rSYSNR=00\r\rUSER=x\n",
       "PRD{ASHOST=a;SYSNR=00;}"},
      {"names compare exactly", "DEST=prd\nASHOST=a\n\nDEST=PRD\nASHOST=b\n",
       "prd{ASHOST=a;} PRD{ASHOST=b;}"},
      {"an empty DEST opens no section", "DEST=\nASHOST=a\n", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(Show(ParseNwRfcIni(c.text)), c.read);
  }
}

class NwDestinationTest : public kelvoran::SimNwRfcTest {
 protected:
  RFC_CONNECTION_HANDLE OpenDest(const std::string& dest, RFC_ERROR_INFO& info,
                                 const char* sysnr = nullptr) {
    std::vector<std::pair<std::string, kelvoran::SapText>> parameters = {
        {"dest", kelvoran::Sap(dest)},
        {"client", kelvoran::Sap("100")},
        {"user", kelvoran::Sap("MONI")},
        {"passwd", kelvoran::Sap("PrdMoni01")},
        {"lang", kelvoran::Sap("EN")}};
    if (sysnr != nullptr) parameters.emplace_back("sysnr", kelvoran::Sap(sysnr));
    return Open(parameters, info);
  }
};

TEST_F(NwDestinationTest, DestinationsOfTheIniFile) {
  UseLandscape(kelvoran::kNwLandscape);
  Dir().Write("sapnwrfc.ini",
              "DEST=PRD\nASHOST=sapprd01\nSYSNR=00\nTRACE=0\n\n"
              "DEST=LOW\nashost=sapprd01\nsysnr=00\n\n"
              "DEST=OLD\nASHOST=sapprd01\nSYSNR=07\n\n"
              "DEST=R2P\nGWHOST=sapgw01\nGWSERV=sapgw50\n");
  const std::string missing =
      "20/5 RFC_INVALID_PARAMETER: Parameter ASHOST, GWHOST, MSHOST or PORT is missing.";
  struct Case {
    const char* dest;
    const char* sysnr;  // given beside the destination, or null
    std::string record;
  };
  const Case cases[] = {
      {"PRD", nullptr, "0/0 : "},
      {"LOW", nullptr, "0/0 : "},
      // The caller's values win over the file's.
      {"OLD", "00", "0/0 : "},
      {"OLD", nullptr,
       "1/4 RFC_COMMUNICATION_FAILURE: LOCATION    CPIC (TCP/IP) on local host with Unicode\n"
       "ERROR       partner 'sapprd01:3307' not reached\nDETAIL      no system with system "
       "number 07 at host sapprd01"},
      {"R2P", nullptr, missing},
      {"prd", nullptr, missing},
      {"NONE", nullptr, missing},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.dest) + " " + (c.sysnr != nullptr ? c.sysnr : "-"));
    RFC_ERROR_INFO info = kelvoran::Dirty();
    RFC_CONNECTION_HANDLE handle = OpenDest(c.dest, info, c.sysnr);
    EXPECT_EQ(kelvoran::Describe(info), c.record);
    if (handle != nullptr) {
      EXPECT_EQ(RfcCloseConnection(handle, nullptr), RFC_OK);
    }
  }
}

TEST_F(NwDestinationTest, SetIniPathTakesADirectory) {
  UseLandscape(kelvoran::kNwLandscape);
  kelvoran::TempDir other;
  other.Write("sapnwrfc.ini", "DEST=PRD\nASHOST=sapprd01\nSYSNR=00\n");
  RFC_ERROR_INFO info = kelvoran::Dirty();
  EXPECT_EQ(OpenDest("PRD", info), nullptr);  // no file in the test's directory

  const kelvoran::SapText path = kelvoran::Sap(other.Path().string());
  ASSERT_EQ(RfcSetIniPath(path.c_str(), &info), RFC_OK);
  RFC_CONNECTION_HANDLE handle = OpenDest("PRD", info);
  EXPECT_NE(handle, nullptr) << kelvoran::Describe(info);
  EXPECT_EQ(RfcCloseConnection(handle, nullptr), RFC_OK);

  // A directory without the file is no error; its destinations are simply unknown.
  const kelvoran::SapText nowhere = kelvoran::Sap((other.Path() / "nowhere").string());
  EXPECT_EQ(RfcSetIniPath(nowhere.c_str(), &info), RFC_OK);
  EXPECT_EQ(OpenDest("PRD", info), nullptr);
}

}  // namespace
}  // namespace simnwrfc
