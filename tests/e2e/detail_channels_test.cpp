// The detail channels end to end: the built probe asked for them with ",DETAIL", in every
// host flavour, against simulated systems with missing and unknown objects; documents are
// compared whole and byte for byte, and the XML ones are also read as XML the way PRTG reads
// them.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "e2e/probe_fixture.h"
#include "support/xml_reader.h"

namespace kelvoran {
namespace {

const std::string kSystem =
    "[PRD]\nASHOST = sapprd01\nSYSNR = 00\nLOGON = 100 MONI PrdMoni01\n"
    "FS_A_DATE = 20241007\nFS_A_TIME = 061500\n";
const std::string kCounts = "TAB_CNT = 41234\nCST_CNT = 40877\nIDX_CNT = 61590\n";
// Every detail figure differs, so that each channel shows which field it took.
const std::string kDetails =
    "SYS_ASP_P = 63.4125\n"
    "TAB_MIS_DB = 1\nIDX_MIS_DB = 2\nCST_MIS_DB = 3\nVIE_MIS_DB = 4\n"
    "TAB_MIS_DD = 5\nIDX_MIS_DD = 6\nCST_MIS_DD = 7\nVIE_MIS_DD = 8\n"
    "SYS_ASP_S = 1431655.8\nASP_TOT_S = 2257706.2\nTAB_SIZE = 182734512128\n";
const std::string kText = "(PRD) Kelvoran: Info=DB4,Date=20241007,Time=061500,Sid=PRD     ";

struct Figures {
  std::string tables = "41234", keys = "40877", indexes = "61590";
  std::string aspUsed = "63.41250";
  std::string missing[8] = {"1", "2", "3", "4", "5", "6", "7", "8"};
};

const char* const kCountNames[8] = {
    "Tables missing in DB",   "Indexes missing in DB",   "Prim.Keys missing in DB",
    "Views missing in DB",    "Tables unknown to DDIC",  "Indexes unknown to DDIC",
    "Prim.Keys unknown to DDIC", "Views unknown to DDIC"};
const char* const kAlarms[8] = {
    "Tables of the ABAP Dictionary are missing in the database",
    "Indexes of the ABAP Dictionary are missing in the database",
    "Primary keys of the ABAP Dictionary are missing in the database",
    "Views of the ABAP Dictionary are missing in the database",
    "Tables in the database are unknown to the ABAP Dictionary",
    "Indexes in the database are unknown to the ABAP Dictionary",
    "Primary keys in the database are unknown to the ABAP Dictionary",
    "Views in the database are unknown to the ABAP Dictionary"};
const char* const kBrennickKeys[8] = {
    "Tables_missing_in_DB",   "Indexes_missing_in_DB",   "Prim_Keys_missing_in_DB",
    "Views_missing_in_DB",    "Tables_unknown_to_DDIC",  "Indexes_unknown_to_DDIC",
    "Prim_Keys_unknown_to_DDIC", "Views_unknown_to_DDIC"};

std::string XmlTotal(const std::string& name, const std::string& value) {
  return "\n<Result><Channel>" + name + "</Channel>\n<Value>" + value + "</Value></Result>\n";
}

std::string XmlDocument(const std::string& text, const Figures& f, bool detail = true) {
  std::string doc = "\n<Prtg>\n\n<Text>" + text + "</Text>\n" +
                    XmlTotal("No.of DB-Tables", f.tables) + XmlTotal("No.of Prim.Keys", f.keys) +
                    XmlTotal("No.of Indexes", f.indexes);
  if (detail) {
    doc += "\n<Result><Channel>System ASP used</Channel>\n<Unit>Percent</Unit>"
           "\n<Float>1</Float>\n<Value>" + f.aspUsed + "</Value></Result>\n";
    for (int i = 0; i < 8; ++i) {
      doc += "\n<Result><Channel>" + std::string(kCountNames[i]) +
             "</Channel>\n<Unit>Count</Unit>\n<LimitMaxError>0</LimitMaxError>"
             "\n<LimitMode>1</LimitMode>\n<LimitErrorMsg>" + kAlarms[i] +
             "</LimitErrorMsg>\n<Value>" + f.missing[i] + "</Value></Result>\n";
    }
  }
  return doc + "\n</Prtg>\n";
}

std::string BrennickChannel(const std::string& key, const std::string& name,
                            const std::string& unit, const std::string& value) {
  return "\n\nMessage." + key + ": " + name + " (" + unit + ")\nStatistic." + key + ": " + value;
}

// Brennick takes the first ten channels of a run: the last two counts are not written.
std::string BrennickDocument(const Figures& f) {
  std::string doc = "\n# " + kText +
                    BrennickChannel("No_of_DB_Tables", "No.of DB-Tables", "#", f.tables) +
                    BrennickChannel("No_of_Prim.Keys", "No.of Prim.Keys", "#", f.keys) +
                    BrennickChannel("No_of_Indexes", "No.of Indexes", "#", f.indexes) +
                    BrennickChannel("System_ASP_used", "System ASP used", "%", f.aspUsed);
  for (int i = 0; i < 6; ++i) {
    doc += BrennickChannel(kBrennickKeys[i], kCountNames[i], "#", f.missing[i]);
  }
  return doc + "\n";
}

std::string TolvaneDocument(const Figures& f) {
  std::string doc = "\n# " + kText + "\n> No.of DB-Tables: " + f.tables +
                    " #\n> No.of Prim.Keys: " + f.keys + " #\n> No.of Indexes: " + f.indexes +
                    " #\n> System ASP used: " + f.aspUsed + " %";
  for (int i = 0; i < 8; ++i) doc += "\n> " + std::string(kCountNames[i]) + ": " + f.missing[i] + " #";
  return doc + "\n";
}

struct RunCase {
  const char* label;
  std::string answers;
  std::vector<std::string> options;
  std::string expected;
};

ProcessResult RunPrd(const ProbeDirectory& dir, const std::string& answers,
                     const std::vector<std::string>& options,
                     const ProfileSettings& profile = {}) {
  dir.WriteLandscape(kSystem + answers);
  dir.WriteProfile("PRD.P00", profile);
  std::vector<std::string> args{"PRD"};
  args.insert(args.end(), options.begin(), options.end());
  return dir.Run(args);
}

void ExpectRuns(const std::vector<RunCase>& cases) {
  for (const RunCase& c : cases) {
    SCOPED_TRACE(c.label);
    ProbeDirectory dir;
    const ProcessResult result = RunPrd(dir, c.answers, c.options);
    EXPECT_EQ(result.out, OnConsole(c.expected));
    EXPECT_EQ(result.status, 0);
  }
}

TEST(DetailChannelsEndToEndTest, TwelveChannelsInEachFlavour) {
  const Figures f;
  const std::string all = kCounts + kDetails;
  ExpectRuns({
      {"EXEXML", all, {",DETAIL"}, XmlDocument(kText, f)},
      {"Quellon, any letter case", all, {"FLAVOUR=Quellon,detail"}, XmlDocument(kText, f)},
      {"Vistrel, in the second argument", all, {"FLAVOUR=Vistrel", ",Detail"},
       XmlDocument(kText, f)},
      {"Brennick keeps the first ten", all, {"FLAVOUR=Brennick,DETAIL"}, BrennickDocument(f)},
      {"Tolvane", all, {"FLAVOUR=Tolvane,DETAIL"}, TolvaneDocument(f)},
  });
}

TEST(DetailChannelsEndToEndTest, TolvaneSelectsADetailChannelByItsNumber) {
  const std::string all = kCounts + kDetails;
  ExpectRuns({
      {"channel 4, the storage pool", all, {"FLAVOUR=Tolvane,DETAIL,CH=4"}, "63.41250\n"},
      {"channel 6, indexes missing in the database", all, {"FLAVOUR=Tolvane,DETAIL CH=6"},
       "2\n"},
      {"channel 7, primary keys missing in the database", all,
       {"CH=7,FLAVOUR=Tolvane", ",DETAIL"}, "3\n"},
      {"channel 12, the last", all, {"FLAVOUR=Tolvane,DETAIL,CH=12"}, "8\n"},
      {"channel 13 does not exist", all, {"FLAVOUR=Tolvane,DETAIL,CH=13"}, "\n"},
      {"channel 6 without ,DETAIL does not exist", all, {"FLAVOUR=Tolvane,CH=6"}, "\n"},
  });
}

TEST(DetailChannelsEndToEndTest, PercentagesAndCountsAsReceived) {
  Figures zero;
  zero.tables = zero.keys = zero.indexes = "0";
  zero.aspUsed = "0.00000";
  for (std::string& m : zero.missing) m = "0";
  Figures negative = zero;
  negative.aspUsed = "-0.50000";
  Figures small = zero;
  small.aspUsed = "0.00001";
  Figures extreme;
  extreme.aspUsed = "-9999999999.99999";
  for (std::string& m : extreme.missing) m = "-2147483648";
  extreme.missing[7] = "2147483647";
  std::string extremeAnswers = kCounts + "SYS_ASP_P = -9999999999.99999\n";
  for (const char* field : {"TAB_MIS_DB", "IDX_MIS_DB", "CST_MIS_DB", "VIE_MIS_DB",
                            "TAB_MIS_DD", "IDX_MIS_DD", "CST_MIS_DD"})
    extremeAnswers += std::string(field) + " = -2147483648\n";
  extremeAnswers += "VIE_MIS_DD = 2147483647\n";
  ExpectRuns({
      {"an all-zero system", "", {",DETAIL"}, XmlDocument(kText, zero)},
      {"a negative percentage", "SYS_ASP_P = -0.5\n", {"FLAVOUR=Tolvane,DETAIL"},
       TolvaneDocument(negative)},
      {"a negative zero is zero", "SYS_ASP_P = -0.00000\n", {"FLAVOUR=Tolvane,DETAIL"},
       TolvaneDocument(zero)},
      {"the smallest step", "SYS_ASP_P = 0.00001\n", {"FLAVOUR=Tolvane,DETAIL"},
       TolvaneDocument(small)},
      {"the extremes", extremeAnswers, {",DETAIL"}, XmlDocument(kText, extreme)},
  });
}

TEST(DetailChannelsEndToEndTest, WithoutTheKeywordNothingChanges) {
  const Figures f;
  const std::string all = kCounts + kDetails;
  ExpectRuns({
      {"no options", all, {}, XmlDocument(kText, f, false)},
      {"DETAIL without its comma", all, {"DETAIL"}, XmlDocument(kText, f, false)},
      {"Tolvane", all, {"FLAVOUR=Tolvane"},
       "\n# " + kText +
           "\n> No.of DB-Tables: 41234 #\n> No.of Prim.Keys: 40877 #\n> No.of Indexes: 61590 #\n"},
  });
}

TEST(DetailChannelsEndToEndTest, XmlDocumentsParseAndCarryTheLimits) {
  ProfileSettings oddDestination;
  oddDestination.destination = "P<&>\"'D";
  const std::string answers = kCounts + kDetails + "SYSID = <&>\nDBSYS = &&&&&&&&&&\n";
  for (const char* flavour : {"FLAVOUR=EXEXML,DETAIL", "FLAVOUR=Quellon,DETAIL",
                              "FLAVOUR=Vistrel,DETAIL"}) {
    SCOPED_TRACE(flavour);
    ProbeDirectory dir;
    const ProcessResult result = RunPrd(dir, answers, {flavour}, oddDestination);
    ASSERT_EQ(result.status, 0);
    std::optional<Element> root = XmlReader(result.out).Document();
    ASSERT_TRUE(root) << result.out;
    EXPECT_EQ(root->name, "Prtg");
    ASSERT_NE(root->Child("Text"), nullptr);
    EXPECT_EQ(root->Child("Text")->text,
              "(P<&>\"'D) Kelvoran: Info=&&&&&&&&&&,Date=20241007,Time=061500,Sid=<&>     ");
    const std::map<std::string, const Element*> channels = Channels(*root);
    ASSERT_EQ(channels.size(), 12u);

    const Element* asp = channels.at("System ASP used");
    EXPECT_EQ(asp->Child("Value")->text, "63.41250");
    EXPECT_EQ(asp->Child("Unit")->text, "Percent");
    EXPECT_EQ(asp->Child("Float")->text, "1");
    EXPECT_EQ(asp->Child("LimitMaxError"), nullptr);
    for (int i = 0; i < 8; ++i) {
      SCOPED_TRACE(kCountNames[i]);
      const Element* count = channels.at(kCountNames[i]);
      EXPECT_EQ(count->Child("Value")->text, std::to_string(i + 1));
      EXPECT_EQ(count->Child("Unit")->text, "Count");
      ASSERT_NE(count->Child("LimitMaxError"), nullptr);
      EXPECT_EQ(count->Child("LimitMaxError")->text, "0");
      EXPECT_EQ(count->Child("LimitMode")->text, "1");
      EXPECT_EQ(count->Child("LimitErrorMsg")->text, kAlarms[i]);
    }
    for (const char* total : {"No.of DB-Tables", "No.of Prim.Keys", "No.of Indexes"}) {
      EXPECT_EQ(channels.at(total)->children.size(), 2u) << total;  // Channel and Value only
    }
  }
}

TEST(DetailChannelsEndToEndTest, DemoSystemWithAMissingIndexAlarms) {
  ProbeDirectory dir;
  std::filesystem::copy(std::filesystem::path(KELVORAN_TEST_SOURCE_DIR) / "demo", dir.Path(),
                        std::filesystem::copy_options::recursive |
                            std::filesystem::copy_options::overwrite_existing);
  const ProcessResult result = dir.Run({"CNS", ",DETAIL"});
  ASSERT_EQ(result.status, 0) << result.out;
  std::optional<Element> root = XmlReader(result.out).Document();
  ASSERT_TRUE(root) << result.out;
  const std::map<std::string, const Element*> channels = Channels(*root);
  ASSERT_EQ(channels.count("Indexes missing in DB"), 1u) << result.out;
  const Element* index = channels.at("Indexes missing in DB");
  EXPECT_EQ(index->Child("Value")->text, "1");
  ASSERT_NE(index->Child("LimitMaxError"), nullptr);
  EXPECT_EQ(index->Child("LimitMaxError")->text, "0");
  EXPECT_EQ(index->Child("LimitMode")->text, "1");
}

}  // namespace
}  // namespace kelvoran
