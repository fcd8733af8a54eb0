#include "driver/parallel_run.h"

#include <gtest/gtest.h>

#include "driver/command_line.h"
#include "support/test_context.h"

namespace kelvoran {
namespace {

TEST(ParallelRunTest, ParallelValues) {
  struct Case {
    const char* options;
    unsigned parallel;       // 0: refused
    const char* typed = "";  // the value the refusal shows
  } cases[] = {
      {"", 1},
      {"PARALLEL=1", 1},
      {"-s parallel=16,SYSLOG", 16},
      {"Parallel=64 CH=2", 64},
      {"PARALLEL=004", 4},
      {"PARALLEL=0", 0, "0"},
      {"PARALLEL=65", 0, "65"},
      {"PARALLEL=99999999999999999999", 0, "99999999999999999999"},
      {"PARALLEL=", 0, ""},
      {"PARALLEL=,SYSLOG", 0, ""},
      {"PARALLEL=-4", 0, "-4"},
      {"PARALLEL=4:2", 0, "4:2"},
      {"parallel=4x", 0, "4x"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.options);
    TestContext t;
    const char* args[] = {"kelvoran", "PRD", c.options};
    const FatalError error = ParseCommandLine(t.ctx, 3, args);
    if (c.parallel == 0) {
      EXPECT_EQ(error, "Error 1035: Invalid Parallel " + std::string(c.typed) + " found...");
    } else {
      ASSERT_EQ(error, std::nullopt);
      EXPECT_EQ(t.ctx.parallel, c.parallel);
    }
  }
}

TEST(ParallelRunTest, SensorOptionsReplaceOrKeepTheValue) {
  TestContext t;
  t.ctx.parallel = 8;  // from the command line
  t.ctx.parameterText = "Item=A,SYSLOG";
  RebuildParameterString(t.ctx);
  ASSERT_EQ(ReadParallel(t.ctx), std::nullopt);
  EXPECT_EQ(t.ctx.parallel, 8u);

  t.ctx.parameterText = "Item=A Parallel=1";
  RebuildParameterString(t.ctx);
  ASSERT_EQ(ReadParallel(t.ctx), std::nullopt);
  EXPECT_EQ(t.ctx.parallel, 1u);
}

}  // namespace
}  // namespace kelvoran
