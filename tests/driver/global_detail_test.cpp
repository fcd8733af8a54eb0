#include "driver/global_detail.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/test_context.h"

namespace kelvoran {
namespace {

TEST(GlobalDetailTest, NameListEndsWithAnEllipsisWhenNamesDoNotFit) {
  const std::vector<std::string> names = {"PRD.P00", "QAS.P00", "DEV.P00"};
  struct Case {
    std::size_t room;
    const char* expected;
  } cases[] = {
      {100, "PRD.P00, QAS.P00, DEV.P00"},
      {25, "PRD.P00, QAS.P00, DEV.P00"},  // exactly
      {24, "PRD.P00, QAS.P00, ..."},
      {21, "PRD.P00, QAS.P00, ..."},
      {20, "PRD.P00, ..."},
      {12, "PRD.P00, ..."},
      {11, "..."},
      {3, "..."},
      {2, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.room);
    const std::string list = NameList(names, c.room);
    EXPECT_EQ(list, c.expected);
    EXPECT_LE(list.size(), c.room);
  }
  EXPECT_EQ(NameList({}, 10), "");
}

JudgedSystem Judged(const char* entry, ListedVerdict verdict, const char* message = "") {
  return JudgedSystem{entry, verdict, message};
}

TEST(GlobalDetailTest, DetailTextNamesFailedSystemsAndThoseWithoutProfile) {
  struct Case {
    const char* label;
    std::vector<JudgedSystem> judged;
    std::size_t room;
    std::string expected;
  } cases[] = {
      {"all measured", {Judged("PRD.P00", ListedVerdict::Processed)}, 2000, ""},
      {"every kind",
       {Judged("PRD.P00", ListedVerdict::Processed),
        Judged("ORA.P00", ListedVerdict::RfcFailure, "Error 1018: DataBase mismatch !"),
        Judged("NEW.P00", ListedVerdict::NoProfile), Judged("TST.P00", ListedVerdict::RfcFailure),
        Judged("XYZ.P00", ListedVerdict::NotFound)},
       2000,
       " - failed: ORA.P00 (Error 1018: DataBase mismatch !), TST.P00, XYZ.P00; no profile: "
       "NEW.P00"},
      {"only without profile", {Judged("NEW.P00", ListedVerdict::NoProfile)}, 2000,
       " - no profile: NEW.P00"},
      // A long list of failed systems leaves those without profile a part of the room.
      {"cut",
       {Judged("AAAAAAA.P00", ListedVerdict::RfcFailure), Judged("BBBBBBB.P00", ListedVerdict::RfcFailure),
        Judged("CCCCCCC.P00", ListedVerdict::RfcFailure), Judged("NEW.P00", ListedVerdict::NoProfile)},
       60, " - failed: AAAAAAA.P00, BBBBBBB.P00, ...; no profile: ..."},
      {"no room", {Judged("TST.P00", ListedVerdict::RfcFailure)}, 10, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    TestContext t;
    t.ctx.judged = c.judged;
    const std::string text = DetailText(t.ctx, c.room);
    EXPECT_EQ(text, c.expected);
    EXPECT_LE(text.size(), c.room);
  }
}

// More systems than channels: the note comes first and is never crowded out.
TEST(GlobalDetailTest, DetailTextSaysHowManySystemsHaveChannels) {
  TestContext t;
  for (int i = 0; i < 120; ++i) t.ctx.judged.push_back(Judged("SYSTEM.P00", ListedVerdict::RfcFailure));
  const std::string text = DetailText(t.ctx, 200);
  EXPECT_EQ(text.rfind(" - 46 of 120 systems as channels; failed: SYSTEM.P00, ", 0), 0u) << text;
  EXPECT_EQ(text.substr(text.size() - 5), ", ...");
  EXPECT_LE(text.size(), 200u);
}

}  // namespace
}  // namespace kelvoran
