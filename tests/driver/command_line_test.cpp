#include "driver/command_line.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/test_context.h"

namespace kelvoran {
namespace {

FatalError Parse(RunContext& ctx, std::vector<const char*> args) {
  args.insert(args.begin(), "kelvoran");
  return ParseCommandLine(ctx, static_cast<int>(args.size()), args.data());
}

TEST(CommandLineTest, ProfileNameAndRunKind) {
  const std::string longArg = "ITEM=" + std::string(100, 'z');
  const std::string longItem(90, 'z');  // an item is cut to 90 characters
  struct Case {
    std::vector<const char*> args;
    const char* profileName;
    bool globalRun;
    const char* item;
  } cases[] = {
      {{"prd"}, "prd.P00", false, ""},
      {{"prd.p01"}, "prd.p01", false, ""},
      {{"x"}, "x.P00", false, ""},
      {{"A.B"}, "A.B.P00", false, ""},
      {{"D:\\cfg\\PRD"}, "D:\\cfg\\PRD.P00", false, ""},
      {{"global"}, "SAP Almandor.Gbl", true, ""},
      {{"Global.P00"}, "SAP Almandor.Gbl", true, ""},
      {{"GLOBAL", "SENSOR1"}, "SAP Almandor.Gbl", true, ""},
      {{"global", "ITEM=abc"}, "Almandor.Prf", true, "abc"},
      {{"prd", "item=abc:de,x"}, "Almandor.Prf", true, "abc de"},
      {{"prd", "-x", "Item=A1 B2"}, "Almandor.Prf", true, "A1"},
      {{"prd", "ITEM=,x"}, "Almandor.Prf", true, ""},
      {{"prd", longArg.c_str()}, "Almandor.Prf", true, longItem.c_str()},
  };

  for (const Case& c : cases) {
    SCOPED_TRACE(c.args[0] + std::string(" ") + (c.args.size() > 1 ? c.args[1] : ""));
    TestContext t;
    EXPECT_EQ(Parse(t.ctx, c.args), std::nullopt);
    EXPECT_EQ(t.ctx.profileName, c.profileName);
    EXPECT_EQ(t.ctx.globalRun, c.globalRun);
    EXPECT_EQ(t.ctx.globalItem, c.item);
  }
}

TEST(CommandLineTest, MissingProfileName) {
  TestContext t;
  EXPECT_EQ(Parse(t.ctx, {}), "Error 1001: Parameter for Profile-Name is missing !");
}

// A monitor hands the options over as separate words: every word after the profile name
// counts, joined with one blank, and a keyword in the last word acts like any other.
TEST(CommandLineTest, OptionTextJoinsEveryWord) {
  struct Case {
    std::vector<const char*> args;
    const char* text;
    const char* sensor;  // the second argument as typed
    unsigned timeout;
    HostFlavour flavour;
    bool verbose;
  } cases[] = {
      {{"prd"}, "", "", 0, HostFlavour::ExeXml, false},
      {{"prd", ",DETAIL"}, ",DETAIL", ",DETAIL", 0, HostFlavour::ExeXml, false},
      {{"prd", "-s", "ch=2"}, "-s ch=2", "-s", 0, HostFlavour::ExeXml, false},
      {{"HNG", ",DETAIL", ",SYSLOG", "TIMEOUT=3"},
       ",DETAIL ,SYSLOG TIMEOUT=3", ",DETAIL", 3, HostFlavour::ExeXml, false},
      {{"prd", "a", "b", "c", "flavour=Tolvane"},
       "a b c flavour=Tolvane", "a", 0, HostFlavour::Tolvane, false},
      {{"prd", "x y", "", "b", "c", "#"}, "x y  b c #", "x y", 0, HostFlavour::ExeXml, true},
      {{"GLOBAL", "SENSOR1", "a", "b", "c", "d", "timeout=900"},
       "SENSOR1 a b c d timeout=900", "SENSOR1", 900, HostFlavour::ExeXml, false},
      {{"prd", "1", "2", "3", "4", "5", "FLAVOUR=Brennick,TIMEOUT=5"},
       "1 2 3 4 5 FLAVOUR=Brennick,TIMEOUT=5", "1", 5, HostFlavour::Brennick, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.args.size() + 1) + " words: " + c.text);
    TestContext t;
    ASSERT_EQ(Parse(t.ctx, c.args), std::nullopt);
    EXPECT_EQ(t.ctx.parameterText, c.text);
    EXPECT_EQ(t.ctx.parameterString, ToUpperAscii(c.text));
    EXPECT_EQ(t.ctx.sensorArgument, c.sensor);
    EXPECT_EQ(t.ctx.timeoutSeconds, c.timeout);
    EXPECT_EQ(t.ctx.hostFlavour, c.flavour);
    EXPECT_EQ(t.ctx.verboseMode, c.verbose);
  }
}

// Values in later words are checked like values in the first; an option text too long to keep
// is refused before any option is looked at.
TEST(CommandLineTest, OptionTextErrors) {
  const std::string limit(127, 'o');
  const std::string over = limit + "o";
  const std::string word63(63, 'h');
  const std::string word64(64, 'H');
  const std::string word62(62, 'H');
  const std::string message = "Error 1037: Option text longer than 127 characters found...";
  struct Case {
    const char* label;
    std::vector<const char*> args;
    FatalError error;
  } cases[] = {
      {"an invalid timeout in the fourth word",
       {"PRD", ",DETAIL", ",SYSLOG", "TIMEOUT=abc"},
       "Error 1033: Invalid Timeout abc found..."},
      {"127 characters", {"PRD", limit.c_str()}, std::nullopt},
      {"128 characters", {"PRD", over.c_str()}, message},
      {"128 characters only with the blank that joins two words",
       {"PRD", word63.c_str(), word64.c_str()},
       message},
      {"127 characters in three words", {"PRD", word63.c_str(), "", word62.c_str()}, std::nullopt},
      {"too long, before an unknown flavour is looked at",
       {"PRD", "FLAVOUR=Nope", over.c_str()},
       message},
      {"too long, before a timeout or an item in it is taken",
       {"PRD", "ITEM=I1", over.c_str(), "TIMEOUT=3"},
       message},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    TestContext t;
    EXPECT_EQ(Parse(t.ctx, c.args), c.error);
    if (c.error) {
      EXPECT_EQ(t.ctx.timeoutSeconds, 0u);
      EXPECT_FALSE(t.ctx.globalRun);
    }
  }
}

TEST(CommandLineTest, LongNamesAreKeptWhole) {
  TestContext t;
  const std::string name(100, 'p');
  ASSERT_EQ(Parse(t.ctx, {name.c_str(), ",SYSLOG"}), std::nullopt);
  EXPECT_EQ(t.ctx.profileName, name + ".P00");
  EXPECT_EQ(t.ctx.parameterText, ",SYSLOG");
}

TEST(CommandLineTest, VerboseModeClientCodeAndFlavour) {
  struct Case {
    const char* options;
    bool verbose;
    const char* client;
    HostFlavour flavour;
  } cases[] = {
      {"", false, "", HostFlavour::ExeXml},
      {"50%", true, "", HostFlavour::ExeXml},
      {"a$b", true, "", HostFlavour::ExeXml},
      {"#", true, "", HostFlavour::ExeXml},
      {"x@y", true, "", HostFlavour::ExeXml},
      {"client=1a0", false, "1A0", HostFlavour::ExeXml},
      {"flavour=tolvane", false, "", HostFlavour::Tolvane},
      {"x,FLAVOUR=Brennick,CH=1", false, "", HostFlavour::Brennick},
      {"FLAVOUR=QUELLON #", true, "", HostFlavour::Quellon},
      {"Flavour=vistrel", false, "", HostFlavour::Vistrel},
      {"FLAVOUR=exexml", false, "", HostFlavour::ExeXml},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.options);
    TestContext t;
    ASSERT_EQ(Parse(t.ctx, {"prd", c.options}), std::nullopt);
    EXPECT_EQ(t.ctx.verboseMode, c.verbose);
    EXPECT_EQ(t.ctx.clientCode, c.client);
    EXPECT_EQ(t.ctx.hostFlavour, c.flavour);
  }
}

TEST(CommandLineTest, UnknownFlavourIsAnError) {
  struct Case {
    const char* options;
    const char* message;
  } cases[] = {
      {"FLAVOUR=Prtg2,x", "Error 1031: Invalid Flavour Prtg2 found..."},
      {"flavour=", "Error 1031: Invalid Flavour  found..."},
      {"FLAVOUR=a<b", "Error 1031: Invalid Flavour a<b found..."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.options);
    TestContext t;
    EXPECT_EQ(Parse(t.ctx, {"prd", c.options}), c.message);
  }
}

TEST(CommandLineTest, StartBanner) {
  TestContext t;
  BuildStartBanner(t.ctx);
  EXPECT_EQ(t.ctx.startBanner, "* 14:03:07 SAP Kelvoran Vers 4.3 / 29.08.22");
}

}  // namespace
}  // namespace kelvoran
