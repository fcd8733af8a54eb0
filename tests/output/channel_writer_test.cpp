#include "output/channel_writer.h"

#include <gtest/gtest.h>

#include "driver/command_line.h"
#include "support/test_context.h"

namespace kelvoran {
namespace {

void SetOptions(RunContext& ctx, const std::string& options) {
  ctx.parameterText = options;
  ctx.parameterString = ToUpperAscii(options);
}

TEST(ChannelWriterTest, ChannelKey) {
  struct Case {
    const char* name;
    const char* key;
  } cases[] = {
      {"No.of Prim.Keys", "No_of_Prim.Keys"}, {"No.of DB-Tables", "No_of_DB_Tables"},
      {"a.b.c", "a_b.c"},                      {"[x] (y)", "_x___y_"},
      {"a/b\\c*d:e", "a_b_c_d_e"},             {"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ChannelKey(c.name), c.key);
  }
}

TEST(ChannelWriterTest, OneChannelInEachForm) {
  struct Case {
    const char* label;
    HostFlavour flavour;
    const char* unit;
    const char* options;
    const char* expected;
  } cases[] = {
      {"XML, no unit", HostFlavour::ExeXml, "", "",
       "\n<Result><Channel>No.of Prim.Keys</Channel>\n<Value>790</Value></Result>\n"},
      {"XML, custom unit unchanged", HostFlavour::Quellon, "PerCent", "",
       "\n<Result><Channel>No.of Prim.Keys</Channel>\n<Unit>Custom</Unit>"
       "\n<CustomUnit>PerCent</CustomUnit>\n<Value>790</Value></Result>\n"},
      {"Brennick, no unit", HostFlavour::Brennick, "", "",
       "\n\nMessage.No_of_Prim.Keys: No.of Prim.Keys (#)\nStatistic.No_of_Prim.Keys: 790"},
      {"Brennick, TimeResponse", HostFlavour::Brennick, "TimeResponse", "CH=2",
       "\n\nMessage.No_of_Prim.Keys: No.of Prim.Keys (mSec)\nStatistic.No_of_Prim.Keys: 790"},
      {"Tolvane, PerCent", HostFlavour::Tolvane, "PerCent", "",
       "\n> No.of Prim.Keys: 790 %"},
      {"Tolvane, other unit", HostFlavour::Tolvane, "kB", "", "\n> No.of Prim.Keys: 790 kB"},
      {"Tolvane, channel 1 selected", HostFlavour::Tolvane, "", "CH=1", "790"},
      {"Tolvane, lower-case selection", HostFlavour::Tolvane, "", "x,ch=1", "790"},
      {"Tolvane, channel 2 selected", HostFlavour::Tolvane, "", "CH=2", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    TestContext t;
    t.ctx.hostFlavour = c.flavour;
    SetOptions(t.ctx, c.options);
    WriteChannel(t.ctx, "No.of Prim.Keys", "790", c.unit);
    EXPECT_EQ(t.ctx.output.Text(), c.expected);
    EXPECT_EQ(t.ctx.channelCounter, 1);
  }
}

TEST(ChannelWriterTest, PrtgTagsInTheXmlFormOnly) {
  PrtgChannelTags percent;
  percent.unit = "Percent";
  percent.decimal = true;
  PrtgChannelTags limit;
  limit.unit = "Count";
  limit.errorAbove = "0";
  limit.errorMessage = "Indexes <missing> & more";
  PrtgChannelTags limitWithoutMessage;
  limitWithoutMessage.errorAbove = "5";
  PrtgChannelTags lookup;
  lookup.unit = "Custom";
  lookup.valueLookup = "kelvoran.systemverdict";
  // A limit's message is cut under PRTG's 200 characters, not at a name's 123.
  const std::string longMessage = std::string(150, 'a') + std::string(100, 'b');
  PrtgChannelTags longLimit;
  longLimit.errorAbove = "0";
  longLimit.errorMessage = longMessage;
  const std::string cutMessage = "\n<Result><Channel>c</Channel>\n<LimitMaxError>0</LimitMaxError>"
                                 "\n<LimitMode>1</LimitMode>\n<LimitErrorMsg>" +
                                 longMessage.substr(0, 199) +
                                 "</LimitErrorMsg>\n<Value>7</Value></Result>\n";
  struct Case {
    const char* label;
    HostFlavour flavour;
    const char* unit;
    PrtgChannelTags tags;
    std::string expected;
  } cases[] = {
      {"PRTG's unit in place of the custom unit", HostFlavour::ExeXml, "PerCent", percent,
       "\n<Result><Channel>c</Channel>\n<Unit>Percent</Unit>\n<Float>1</Float>"
       "\n<Value>7</Value></Result>\n"},
      {"an error limit with its message, escaped", HostFlavour::Vistrel, "", limit,
       "\n<Result><Channel>c</Channel>\n<Unit>Count</Unit>\n<LimitMaxError>0</LimitMaxError>"
       "\n<LimitMode>1</LimitMode>\n<LimitErrorMsg>Indexes &lt;missing&gt; &amp; more"
       "</LimitErrorMsg>\n<Value>7</Value></Result>\n"},
      {"a limit without a message, the custom unit kept", HostFlavour::Quellon, "kB",
       limitWithoutMessage,
       "\n<Result><Channel>c</Channel>\n<Unit>Custom</Unit>\n<CustomUnit>kB</CustomUnit>"
       "\n<LimitMaxError>5</LimitMaxError>\n<LimitMode>1</LimitMode>"
       "\n<Value>7</Value></Result>\n"},
      {"a value lookup", HostFlavour::ExeXml, "", lookup,
       "\n<Result><Channel>c</Channel>\n<Unit>Custom</Unit>"
       "\n<ValueLookup>kelvoran.systemverdict</ValueLookup>\n<Value>7</Value></Result>\n"},
      {"a long limit message", HostFlavour::ExeXml, "", longLimit, cutMessage},
      {"Brennick has no place for them", HostFlavour::Brennick, "PerCent", percent,
       "\n\nMessage.c: c (%)\nStatistic.c: 7"},
      {"nor has Tolvane", HostFlavour::Tolvane, "", limit, "\n> c: 7 #"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    TestContext t;
    t.ctx.hostFlavour = c.flavour;
    WriteChannel(t.ctx, "c", "7", c.unit, c.tags);
    EXPECT_EQ(t.ctx.output.Text(), c.expected);
  }
}

TEST(ChannelWriterTest, ChannelSelection) {
  struct Case {
    const char* options;
    std::optional<long> selected;
  } cases[] = {
      {"", std::nullopt}, {"CH=12,x", 12},   {"CH=1234", 123}, {"CH=,3", 0},
      {"CH=x", 0},        {"ch= 7", 7},      {"CH=-1", -1},    {"-s ch=3", 3},
      {"CH=", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.options);
    TestContext t;
    SetOptions(t.ctx, c.options);
    EXPECT_EQ(SelectedChannel(t.ctx), c.selected);
  }
}

TEST(ChannelWriterTest, TolvaneSelectionCountsEveryCall) {
  TestContext t;
  t.ctx.hostFlavour = HostFlavour::Tolvane;
  SetOptions(t.ctx, "CH=3");
  for (const char* value : {"1", "2", "3", "4"}) WriteChannel(t.ctx, "n", value, "");
  EXPECT_EQ(t.ctx.output.Text(), "3");
}

TEST(ChannelWriterTest, BrennickGetsTenChannelsAndCountsOn) {
  TestContext t;
  t.ctx.hostFlavour = HostFlavour::Brennick;
  for (int i = 1; i <= 12; ++i) WriteChannel(t.ctx, "c", std::to_string(i), "");
  EXPECT_EQ(t.ctx.channelCounter, 12);
  const std::string& text = t.ctx.output.Text();
  EXPECT_NE(text.find("Statistic.c: 10"), std::string::npos);
  EXPECT_EQ(text.find("Statistic.c: 11"), std::string::npos);
  EXPECT_EQ(text.size(), 9 * std::string("\n\nMessage.c: c (#)\nStatistic.c: 1").size() +
                             std::string("\n\nMessage.c: c (#)\nStatistic.c: 10").size());
}

TEST(ChannelWriterTest, LongFieldsAreCutTo123Characters) {
  TestContext t;
  t.ctx.hostFlavour = HostFlavour::Tolvane;
  WriteChannel(t.ctx, std::string(200, 'n'), std::string(200, '9'), "");
  EXPECT_EQ(t.ctx.output.Text(),
            "\n> " + std::string(123, 'n') + ": " + std::string(123, '9') + " #");
}

}  // namespace
}  // namespace kelvoran
