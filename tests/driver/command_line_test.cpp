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

TEST(CommandLineTest, OptionTextJoinsTwoArgumentsAndIgnoresTheRest) {
  TestContext t;
  ASSERT_EQ(Parse(t.ctx, {"prd", "-s", "ch=2", "ignored"}), std::nullopt);
  EXPECT_EQ(t.ctx.parameterText, "-s ch=2");
  EXPECT_EQ(t.ctx.parameterString, "-S CH=2");
  EXPECT_EQ(t.ctx.sensorArgument, "-s");
}

TEST(CommandLineTest, LongNamesAndOptionsAreKeptWhole) {
  TestContext t;
  const std::string name(100, 'p');
  const std::string options = std::string(150, 'o') + ",SYSLOG";
  ASSERT_EQ(Parse(t.ctx, {name.c_str(), options.c_str()}), std::nullopt);
  EXPECT_EQ(t.ctx.profileName, name + ".P00");
  EXPECT_EQ(t.ctx.parameterText, options);
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
