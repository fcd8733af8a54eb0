// Global runs with ",DETAIL" end to end: the failed systems and those without profile named in
// the text, and the channels a monitor alarms on, in every flavour, measured in turn and side
// by side; compared whole, the slowest system's milliseconds masked.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "driver/global_detail.h"
#include "e2e/probe_fixture.h"
#include "support/xml_check.h"
#include "support/xml_reader.h"

namespace kelvoran {
namespace {

// PRD and QAS (through its per-destination file) are measured; TST's query fails; DEV's system
// check ends in an exception; ORA is no DB2 for IBM i; no system answers at OLD's host; NEW has
// no profile.
constexpr const char* kLandscape =
    "[PRD]\nASHOST = sapprd01\nSYSNR = 00\nLOGON = 100 MONI PrdMoni01\n"
    "[QAS]\nASHOST = sapqas01\nSYSNR = 10\nLOGON = 100 MONI PrdMoni01\n"
    "[TST]\nASHOST = saptst01\nSYSNR = 50\nLOGON = 100 MONI PrdMoni01\n"
    "FAIL_RECEIVE = DB02_DB4_GET_INFO 1\n"
    "[DEV]\nASHOST = sapdev01\nSYSNR = 20\nLOGON = 100 MONI PrdMoni01\n"
    "FAIL_RECEIVE = RFC_SYSTEM_INFO 2 NOT_AUTHORIZED\n"
    "ERROR_MESSAGE = No RFC authorization for function group SRFC\n"
    "[ORA]\nASHOST = sapora01\nSYSNR = 30\nLOGON = 100 MONI PrdMoni01\nRFCDBSYS = ORACLE\n"
    "[LIB]\nASHOST = saplib01\nSYSNR = 40\nLOGON = 100 MONI PrdMoni01\nFAIL_HANDLER = RfcCall\n"
    "ERROR_MESSAGE = connection reset by peer\n";

// The sensor DET lists `systems`, ten to a listing line (a line is read up to 199 characters);
// the item listing lists them too.
class DetailDirectory : public ProbeDirectory {
 public:
  explicit DetailDirectory(const std::string& systems) {
    WriteLandscape(kLandscape);
    Write("SapRfc.QAS", "DEST=QAS\nASHOST=sapqas01\nSYSNR=10\n");
    const char* profiles[][3] = {{"PRD", "sapprd01", "00"}, {"QAS", "sapqas01", "10"},
                                 {"TST", "saptst01", "50"}, {"DEV", "sapdev01", "20"},
                                 {"ORA", "sapora01", "30"}, {"OLD", "sapold01", "00"},
                                 {"LIB", "saplib01", "40"}};
    for (const auto& p : profiles) {
      WriteProfile(std::string(p[0]) + ".P00", System(p[0], p[1], p[2]));
    }
    std::string sensorListing, itemListing;
    for (std::size_t at = 0, count = 0; at < systems.size(); ++count) {
      std::size_t end = at;
      for (int i = 0; i < 10 && end < systems.size(); ++i) end = systems.find('#', end) + 1;
      sensorListing += "# GSNG: DET       ::" + systems.substr(at, end - at) + "\n";
      itemListing += "# Gsng: Det         " + systems.substr(at, end - at) + "\n";
      at = end;
    }
    Write("SAP Almandor.Gbl",
          sensorListing + "# GSNX: DET       :Item=Det,Sensor=\"SAP Kelvoran\"\n");
    Write("Almandor.Prf", itemListing);
  }
};

// Every verdict: measured, failed query, failed check, another database, refused, no profile,
// and a system listed twice.
const std::string kMixed = "PRD.P00#DEV.P00#NEW.P00#TST.P00#ORA.P00#OLD.P00#PRD.P00#QAS.P00#";

const std::string kSummary =
    "(***) Det: NoSystems=8, Processed=3, Failed=4 - failed: DEV.P00 (Error 1012: Exception.: "
    "NOT_AUTHORIZED - No RFC authorization for function group SRFC), TST.P00, ORA.P00 (Error "
    "1018: DataBase mismatch !), OLD.P00; no profile: NEW.P00";

struct SystemChannel {
  const char* name;
  const char* key;  // Brennick's
  int value;
};
const SystemChannel kSystems[] = {
    {"PRD.P00", "PRD_P00", 0},         {"DEV.P00", "DEV_P00", 1}, {"NEW.P00", "NEW_P00", 3},
    {"TST.P00", "TST_P00", 1},         {"ORA.P00", "ORA_P00", 1}, {"OLD.P00", "OLD_P00", 1},
    {"PRD.P00 (2)", "PRD_P00__2_", 0}, {"QAS.P00", "QAS_P00", 0}};

std::string XmlCount(const std::string& name, int value, const std::string& alarm = "",
                     bool limit = false) {
  std::string channel = "\n<Result><Channel>" + name + "</Channel>\n<Unit>Count</Unit>";
  if (limit) channel += "\n<LimitMaxError>0</LimitMaxError>\n<LimitMode>1</LimitMode>";
  if (!alarm.empty()) channel += "\n<LimitErrorMsg>" + alarm + "</LimitErrorMsg>";
  return channel + "\n<Value>" + std::to_string(value) + "</Value></Result>\n";
}

std::string XmlDocument() {
  std::string doc = "\n<Prtg>\n\n\n<Text>" + kSummary + "</Text>\n" +
                    XmlCount("Systems measured", 3) +
                    XmlCount("Systems failed", 4,
                             "Systems failed: DEV.P00, TST.P00, ORA.P00, OLD.P00", true) +
                    XmlCount("Systems without profile", 1, "Systems without profile: NEW.P00",
                             true) +
                    "\n<Result><Channel>Slowest system</Channel>\n<Unit>TimeResponse</Unit>"
                    "\n<Value>ms</Value></Result>\n";
  for (const SystemChannel& s : kSystems) {
    doc += "\n<Result><Channel>" + std::string(s.name) +
           "</Channel>\n<Unit>Custom</Unit>\n<ValueLookup>kelvoran.systemverdict</ValueLookup>"
           "\n<Value>" + std::to_string(s.value) + "</Value></Result>\n";
  }
  return doc + "\n</Prtg>\n\n";
}

std::string BrennickChannel(const std::string& key, const std::string& name,
                            const std::string& unit, const std::string& value) {
  return "\n\nMessage." + key + ": " + name + " (" + unit + ")\nStatistic." + key + ": " + value;
}

// A Brennick host takes the first ten channels: the four of the run and six systems.
std::string BrennickDocument() {
  std::string doc = "\n* SapRfc.Ini.......: QAS<\n\n# " + kSummary +
                    BrennickChannel("Systems_measured", "Systems measured", "#", "3") +
                    BrennickChannel("Systems_failed", "Systems failed", "#", "4") +
                    BrennickChannel("Systems_without_profile", "Systems without profile", "#", "1") +
                    BrennickChannel("Slowest_system", "Slowest system", "mSec", "ms");
  for (int i = 0; i < 6; ++i) {
    doc += BrennickChannel(kSystems[i].key, kSystems[i].name, "#", std::to_string(kSystems[i].value));
  }
  return doc + "\n\n";
}

std::string TolvaneDocument() {
  std::string doc = "\n* SapRfc.Ini.......: QAS<\n\n# " + kSummary +
                    "\n> Systems measured: 3 #\n> Systems failed: 4 #"
                    "\n> Systems without profile: 1 #\n> Slowest system: ms mSec";
  for (const SystemChannel& s : kSystems) {
    doc += "\n> " + std::string(s.name) + ": " + std::to_string(s.value) + " #";
  }
  return doc + "\n\n";
}

// The slowest system's milliseconds, which differ from run to run.
std::string MaskMilliseconds(const std::string& text) {
  static const std::regex slowest(
      "(Slowest.system(</Channel>\\r?\\n<Unit>TimeResponse</Unit>\\r?\\n<Value>|: ))[0-9]+");
  return std::regex_replace(text, slowest, "$1ms");
}

TEST(GlobalDetailEndToEndTest, EveryVerdictInEveryFlavourInTurnAndSideBySide) {
  struct Case {
    const char* label;
    std::vector<std::string> args;  // PARALLEL=4 is added to the last
    std::string expected;
  } cases[] = {
      {"EXEXML", {"GLOBAL", "DET ,DETAIL"}, XmlDocument()},
      {"Quellon", {"GLOBAL", "DET FLAVOUR=Quellon ,detail"}, XmlDocument()},
      {"Vistrel", {"GLOBAL", "DET", "FLAVOUR=Vistrel,DETAIL"}, XmlDocument()},
      {"Brennick", {"GLOBAL", "DET FLAVOUR=Brennick,DETAIL"}, BrennickDocument()},
      {"Tolvane", {"GLOBAL", "DET FLAVOUR=Tolvane,DETAIL"}, TolvaneDocument()},
      // The second channel, "Systems failed", alone: the text block is emptied. (On the
      // sensor route the sensor's options would replace the selection.)
      {"Tolvane, CH=2", {"x", "ITEM=Det,FLAVOUR=Tolvane,DETAIL,CH=2"},
       "\n* SapRfc.Ini.......: QAS<\n4\n\n"},
  };
  for (const Case& c : cases) {
    for (const char* parallel : {"", " PARALLEL=4"}) {
      SCOPED_TRACE(std::string(c.label) + parallel);
      DetailDirectory dir(kMixed);
      std::vector<std::string> args = c.args;
      args.back() += parallel;
      const ProcessResult result = dir.Run(args);
      EXPECT_EQ(MaskMilliseconds(result.out), OnConsole(c.expected));
      EXPECT_EQ(result.status, 0);
      if (c.expected == XmlDocument()) {
        EXPECT_EQ(XmlWellFormednessError(result.out), "");
      }
    }
  }
}

// ",DETAIL" on the command line counts on the sensor route too, where the sensor's options
// replace the command line's; and among the sensor's options as well.
TEST(GlobalDetailEndToEndTest, KeywordOnTheCommandLineOrAmongTheSensorsOptions) {
  DetailDirectory dir(kMixed);
  dir.Write("SAP Almandor.Gbl", "# GSNG: DET       ::" + kMixed +
                                    "\n# GSNX: DET       :Item=Det,DETAIL,Sensor=\"SAP Kelvoran\"\n");
  const ProcessResult fromSensor = dir.Run({"GLOBAL", "DET"});
  EXPECT_EQ(MaskMilliseconds(fromSensor.out), OnConsole(XmlDocument()));
  EXPECT_EQ(fromSensor.status, 0);
  // The item route reads the command line's options.
  const ProcessResult item = dir.Run({"x", "ITEM=Det,DETAIL"});
  EXPECT_EQ(MaskMilliseconds(item.out), OnConsole(XmlDocument()));
}

// Without the keyword a failed check still ends the run, and nothing of it is written.
TEST(GlobalDetailEndToEndTest, WithoutTheKeywordTheDocumentStaysAsItWas) {
  DetailDirectory dir(kMixed);
  const ProcessResult result = dir.Run({"GLOBAL", "DET"});
  EXPECT_EQ(result.out,
            OnConsole("\n<Prtg>\n\n" +
                      ErrorDocumentRest("Error 1012: Exception.: NOT_AUTHORIZED - No RFC "
                                        "authorization for function group SRFC")));
  EXPECT_EQ(result.status, 2);
}

// The RFC library's failure report still ends the run (exit status 1), and names the system
// the run was at, in turn and side by side; the failed check before it did not end the run.
TEST(GlobalDetailEndToEndTest, FailureReportNamesTheSystem) {
  if (!ProbeUsesClassicLibrary()) GTEST_SKIP() << "the classic library's failure report";
  const std::string expected =
      "\n<Prtg>\n\n" +
      ErrorDocumentRest("RFC error at LIB.P00; operation/code: RfcCall; key: "
                        "RFC_ERROR_SYSTEM_FAILURE; status: library failure; message: connection "
                        "reset by peer; internal status: RfcCall; * Programm aborted...; "
                        "* Error at EoXput-File...");
  for (const char* parallel : {"", " PARALLEL=4"}) {
    SCOPED_TRACE(parallel);
    DetailDirectory dir("PRD.P00#DEV.P00#LIB.P00#QAS.P00#");
    const ProcessResult result = dir.Run({"GLOBAL", std::string("DET ,DETAIL") + parallel});
    EXPECT_EQ(result.out, OnConsole(expected));
    EXPECT_EQ(result.status, 1);
  }
}

// Sixty systems: PRTG keeps fifty channels, so forty-six systems get one, the text says so and
// the four channels of the run come all the same.
TEST(GlobalDetailEndToEndTest, FiftyChannelsAtMost) {
  std::string systems;
  for (int i = 0; i < 30; ++i) systems += "PRD.P00#NEW.P00#";
  for (const char* parallel : {"", " PARALLEL=8"}) {
    SCOPED_TRACE(parallel);
    DetailDirectory dir(systems);
    const ProcessResult result = dir.Run({"GLOBAL", std::string("DET ,DETAIL") + parallel});
    ASSERT_EQ(result.status, 0);
    const std::optional<Element> root = XmlReader(result.out).Document();
    ASSERT_TRUE(root) << result.out;
    std::vector<std::string> names;
    for (const Element& child : root->children) {
      if (child.name == "Result") names.push_back(child.Child("Channel")->text);
    }
    ASSERT_EQ(names.size(), 50u);
    EXPECT_EQ(names[3], "Slowest system");
    EXPECT_EQ(names[4], "PRD.P00");
    EXPECT_EQ(names[5], "NEW.P00");
    EXPECT_EQ(names[6], "PRD.P00 (2)");
    EXPECT_EQ(names[49], "NEW.P00 (23)");
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()).size(), 50u) << "unique names";
    const std::string text = root->Child("Text")->text;
    EXPECT_EQ(text.rfind("(***) Det: NoSystems=60, Processed=30, Failed=0 - 46 of 60 systems as "
                         "channels; no profile: NEW.P00, NEW.P00, ",
                         0),
              0u)
        << text;
    EXPECT_LE(text.size(), kLongestText);
  }
}

// The lookup file shipped for PRTG: the lookup the channels name, with a word for each of the
// four values they send, only 0 being Ok.
TEST(GlobalDetailEndToEndTest, LookupFileDefinesTheFourVerdicts) {
  std::ifstream file(std::string(KELVORAN_TEST_SOURCE_DIR) + "/lookups/" + kVerdictLookup + ".ovl",
                     std::ios::binary);
  ASSERT_TRUE(file);
  std::stringstream content;
  content << file.rdbuf();
  const std::string text = content.str();
  const std::string declaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  ASSERT_EQ(text.rfind(declaration, 0), 0u);
  EXPECT_EQ(XmlWellFormednessError(text.substr(declaration.size())), "");
  EXPECT_NE(text.find("<ValueLookup id=\"" + std::string(kVerdictLookup) + "\""), std::string::npos);

  static const std::regex entry("<SingleInt state=\"([A-Za-z]+)\" value=\"([0-9]+)\">([^<]+)</SingleInt>");
  std::vector<std::string> found;
  for (std::sregex_iterator at(text.begin(), text.end(), entry), end; at != end; ++at) {
    found.push_back((*at)[2].str() + " " + (*at)[1].str() + " " + (*at)[3].str());
  }
  const std::vector<std::string> expected = {"0 Ok Processed", "1 Error Rfc Failure",
                                             "2 Error Not Found", "3 Error No profile"};
  EXPECT_EQ(found, expected);
}

}  // namespace
}  // namespace kelvoran
