#include "driver/global_listing.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "driver/command_line.h"
#include "support/temp_dir.h"
#include "support/test_context.h"

namespace kelvoran {
namespace {

// The allocation options with which a sensor's option text ends.
const std::string kAllocated = ",Sensor=\"SAP Kelvoran\"";

// Leaves the context as the command line and the profile locator do for a global run: options
// parsed, the listing file named in `dir` and open. No file is written without `content`.
void Prepare(TestContext& t, const TempDir& dir, std::vector<const char*> args,
             const std::optional<std::string>& content) {
  args.insert(args.begin(), "kelvoran");
  ASSERT_EQ(ParseCommandLine(t.ctx, static_cast<int>(args.size()), args.data()), std::nullopt);
  ASSERT_TRUE(t.ctx.globalRun);
  t.ctx.profileDirectory = dir.Path().string() + "/";
  t.ctx.profilePath = t.ctx.profileDirectory + t.ctx.profileName;
  if (content) {
    dir.Write(t.ctx.profileName, *content);
    t.ctx.profileFile = t.ctx.files.Open(t.ctx.profilePath, "r");
    ASSERT_TRUE(t.ctx.profileFile);
  }
}

// Sensor lines as the listing tool writes them: the name padded to ten characters, then the
// separator columns and the value.
std::string Padded(const char* header, const std::string& name) {
  std::string line = header + name;
  line.resize(18, ' ');
  return line;
}
std::string Listing(const std::string& name, const std::string& value) {
  return Padded("# GSNG: ", name) + "::" + value + "\n";
}
std::string Options(const std::string& name, const std::string& value) {
  return Padded("# GSNX: ", name) + ":" + value + "\n";
}

TEST(GlobalListingTest, ReadsTheListingItemAndOptionText) {
  const std::string longName = std::string(174, 'P') + ".P00#";  // the line is 199 characters
  const std::string longOptions = "Item=I1," + std::string(150, 'o');
  std::string manySystems, manyLines;
  for (int i = 0; i < 300; ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "S%03d.P00#", i);
    manySystems += name;
    manyLines += Listing("SENSOR1", name);
  }

  struct Case {
    const char* label;
    std::vector<const char*> args;
    std::string content;
    std::string listing;
    std::string item;
    std::string optionText;
  } cases[] = {
      {"headers and names in any letter case; other sensors and lines ignored",
       {"GLOBAL", "Sensor1", "#"},
       "; SAP Almandor sensor listing\n" + Listing("sensor1", "PRD.P00#") +
           Listing("SENSOR2", "DEV.P00#") + Options("SENSOR2", "Item=Other") +
           "# gSnG: SENSOR1   ..QAS.P00#\n" + "# gsnx: SeNsOr1   :Item=A1:B2 ,SYSLOG,Sid" +
           kAllocated + ",X\n\n",
       "PRD.P00#QAS.P00#",
       "A1 B2",
       "Item=A1 B2 ,SYSLOG,Sid"},
      {"names compared on their first ten characters",
       {"GLOBAL", "LongSensorName"},
       Listing("LONGSENSOR", "PRD.P00#") + "# GSNG: longsensorXYQAS.P00#\n" +
           "# GSNX: LongSensorQItem=I1" + kAllocated + "\n",
       "PRD.P00#QAS.P00#",
       "I1",
       "Item=I1"},
      {"a short name counts only when padded to ten characters",
       {"GLOBAL", "S1"},
       "# GSNG: S1::DEV.P00#\n# GSNX: S1:Item=I0" + kAllocated + "\n" + Listing("S1", "PRD.P00#") +
           Options("S1", "Item=I1" + kAllocated),
       "PRD.P00#",
       "I1",
       "Item=I1"},
      {"the last option line gives option text and item",
       {"GLOBAL", "SENSOR1"},
       Options("SENSOR1", "Item=First,CH=1" + kAllocated) + Listing("SENSOR1", "PRD.P00#") +
           Options("SENSOR1", "Item=Last,SYSLOG" + kAllocated),
       "PRD.P00#",
       "Last",
       "Item=Last,SYSLOG"},
      {"cut at the first allocation option; the item may follow it",
       {"GLOBAL", "SENSOR1"},
       Listing("SENSOR1", "PRD.P00#") +
           Options("SENSOR1", "CH=2:x,Sensor=Y" + kAllocated + ",Item=Z:9,a"),
       "PRD.P00#",
       "Z 9",
       "CH=2 x"},
      {"allocation text without a comma before it is not cut",
       {"GLOBAL", "SENSOR1"},
       Listing("SENSOR1", "PRD.P00#") + Options("SENSOR1", "Item=I1 Sensor=\"SAP Kelvoran\""),
       "PRD.P00#",
       "I1",
       "Item=I1 Sensor=\"SAP Kelvoran\""},
      {"item cut to 90 characters",
       {"GLOBAL", "SENSOR1"},
       Listing("SENSOR1", "PRD.P00#") +
           Options("SENSOR1", "Item=" + std::string(95, 'i') + kAllocated),
       "PRD.P00#",
       std::string(90, 'i'),
       "Item=" + std::string(95, 'i')},
      {"CR LF line ends, also where a read ends at the carriage return",
       {"GLOBAL", "SENSOR1"},
       "# GSNG: SENSOR1   ::" + std::string(178, 'C') + "\r\n" +
           "# GSNG: SENSOR1   ::PRD.P00#\r\n" + "# GSNX: SENSOR1   :Item=I1" + kAllocated + "\r\n",
       std::string(178, 'C') + "PRD.P00#",
       "I1",
       "Item=I1"},
      {"a line over 199 characters goes on as a line of its own",
       {"GLOBAL", "SENSOR1"},
       Listing("SENSOR1", longName).substr(0, 199) + Listing("SENSOR1", "QAS.P00#") +
           Options("SENSOR1", "Item=I1" + kAllocated),
       longName + "QAS.P00#",
       "I1",
       "Item=I1"},
      {"option text over 127 characters kept whole",
       {"GLOBAL", "SENSOR1"},
       Listing("SENSOR1", "PRD.P00#") + Options("SENSOR1", longOptions + kAllocated),
       "PRD.P00#",
       "I1",
       longOptions},
      {"listing over 2047 characters kept whole",
       {"GLOBAL", "SENSOR1"},
       manyLines + Options("SENSOR1", "Item=I1" + kAllocated),
       manySystems,
       "I1",
       "Item=I1"},
      {"item route: only \"# Gsng: \" lines count, any columns 8 to 19",
       {"x", "ITEM=abc:de"},
       "# Gsng: Production  PRD.P00#\n# GSNG: SENSOR1   ::DEV.P00#\n# gsng: SENSOR1   ::TST.P00#\n"
       "# Gsng  Production  XYZ.P00#\n# Gsng:*sensor1   ::ABC.P00#\n# Gsng: 0123456789abQAS.P00#\n",
       "PRD.P00#QAS.P00#",
       "abc de",
       "ITEM=abc:de"},
      {"sensor route: a byte order mark before the first line",
       {"GLOBAL", "SENSOR1"},
       "\xEF\xBB\xBF" + Listing("SENSOR1", "PRD.P00#") + Options("SENSOR1", "Item=I1" + kAllocated),
       "PRD.P00#",
       "I1",
       "Item=I1"},
      {"item route: a byte order mark before the first line",
       {"x", "ITEM=abc"},
       "\xEF\xBB\xBF# Gsng: Production  PRD.P00#\r\n",
       "PRD.P00#",
       "abc",
       "ITEM=abc"},
      {"item route with CR LF line ends",
       {"x", "ITEM=abc"},
       "# Gsng: Production  PRD.P00#\r\n# Gsng: Quality     QAS.P00#\r\n",
       "PRD.P00#QAS.P00#",
       "abc",
       "ITEM=abc"},
  };

  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    TempDir dir;
    TestContext t;
    Prepare(t, dir, c.args, c.content);
    ASSERT_EQ(ReadGlobalListing(t.ctx), std::nullopt);
    EXPECT_EQ(t.ctx.serverListing, c.listing);
    EXPECT_EQ(t.ctx.globalItem, c.item);
    EXPECT_EQ(t.ctx.parameterText, c.optionText);
  }
}

TEST(GlobalListingTest, ReportsTheFirstFailedCheck) {
  const std::string good = Options("SENSOR1", "Item=I1" + kAllocated);
  const std::string prd = Listing("SENSOR1", "PRD.P00#");
  struct Case {
    const char* label;
    std::vector<const char*> args;
    std::optional<std::string> content;  // no listing file without it
    std::string message;
  } cases[] = {
      {"sensor listing missing",
       {"GLOBAL", "SENSOR1"},
       std::nullopt,
       "Error 10x1: ProFile SAP Almandor.Gbl is missing..."},
      {"item listing missing",
       {"x", "ITEM=abc"},
       std::nullopt,
       "Error 1024: ProFile Almandor.Prf is missing..."},
      {"allocation missing on an earlier option line",
       {"GLOBAL", "SENSOR1"},
       prd + Options("SENSOR1", "Item=I1,CH=2") + good,
       "Error 1029: Invalid Sensor-Allocation..."},
      {"allocated to another program",
       {"GLOBAL", "SENSOR1"},
       prd + Options("SENSOR1", "Item=I1,Sensor=\"SAP Other\""),
       "Error 1029: Invalid Sensor-Allocation..."},
      {"allocation text in another letter case or without quotes",
       {"GLOBAL", "SENSOR1"},
       prd + Options("SENSOR1", "Item=I1,sensor=\"SAP Kelvoran\",Sensor=SAP Kelvoran"),
       "Error 1029: Invalid Sensor-Allocation..."},
      {"option line with nothing after the name",
       {"GLOBAL", "SENSOR1"},
       prd + "# GSNX: SENSOR1   \n",
       "Error 1029: Invalid Sensor-Allocation..."},
      {"sensor not in the listing, shown as typed, before the empty listing",
       {"global", "sensor9", "ch=1"},
       prd + good,
       "Error 1030: Global Sensor sensor9 not found..."},
      {"short name not padded in the listing",
       {"GLOBAL", "S1"},
       "# GSNG: S1::PRD.P00#\n# GSNX: S1:Item=I1" + kAllocated + "\n",
       "Error 1030: Global Sensor S1 not found..."},
      {"no sensor named", {"GLOBAL"}, prd + good, "Error 1030: Global Sensor  not found..."},
      {"no server listing line, before the missing item",
       {"GLOBAL", "SENSOR1"},
       Listing("SENSOR2", "PRD.P00#") + Options("SENSOR1", kAllocated),
       "Error 1025: Global Server Listing missing..."},
      {"server listing lines too short to hold a value",
       {"GLOBAL", "SENSOR1"},
       "# GSNG: SENSOR1   \n# GSNG: SENSOR1   :\n" + good,
       "Error 1025: Global Server Listing missing..."},
      {"no item in the option text",
       {"GLOBAL", "SENSOR1"},
       prd + Options("SENSOR1", "CH=1" + kAllocated),
       "Error 1026: Global Item Idenification missing..."},
      {"item keyword in another letter case",
       {"GLOBAL", "SENSOR1"},
       prd + Options("SENSOR1", "ITEM=I1,item=I2" + kAllocated),
       "Error 1026: Global Item Idenification missing..."},
      {"item only on an earlier option line",
       {"GLOBAL", "SENSOR1"},
       prd + good + Options("SENSOR1", "CH=1" + kAllocated),
       "Error 1026: Global Item Idenification missing..."},
      {"item route: empty item",
       {"x", "ITEM=,x"},
       "# Gsng: Production  PRD.P00#\n",
       "Error 1026: Global Item Idenification missing..."},
      {"item route: empty item and no listing line",
       {"x", "ITEM="},
       "# GSNG: Production  PRD.P00#\n",
       "Error 1025: Global Server Listing missing..."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    TempDir dir;
    TestContext t;
    Prepare(t, dir, c.args, c.content);
    EXPECT_EQ(ReadGlobalListing(t.ctx), c.message);
  }
}

TEST(GlobalListingTest, HandsOverToTheMultiSystemRun) {
  TempDir dir;
  TestContext t;
  const std::string content =
      Listing("SENSOR1", "PRD.P00#") + Options("SENSOR1", "Item=I1" + kAllocated);
  Prepare(t, dir, {"GLOBAL", "SENSOR1"}, content);
  t.ctx.serverListing = "OLD.P00#";
  t.ctx.systemCount = t.ctx.processedCount = t.ctx.failedCount = 3;

  ASSERT_EQ(ReadGlobalListing(t.ctx), std::nullopt);
  EXPECT_FALSE(t.ctx.profileFile);
  EXPECT_EQ(t.ctx.profilePath, t.ctx.profileDirectory);
  EXPECT_EQ(t.ctx.serverListing, "PRD.P00#");
  EXPECT_EQ(t.ctx.systemCount, 0u);
  EXPECT_EQ(t.ctx.processedCount, 0u);
  EXPECT_EQ(t.ctx.failedCount, 0u);
}

}  // namespace
}  // namespace kelvoran
