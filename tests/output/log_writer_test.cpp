#include "output/log_writer.h"

#include <gtest/gtest.h>

#include "driver/command_line.h"
#include "support/temp_dir.h"
#include "support/test_context.h"

namespace kelvoran {
namespace {

TEST(LogWriterTest, WritesOnlyWithSyslog) {
  struct Case {
    const char* options;
    const char* expected;
  } cases[] = {
      {"-s,syslog", "0 program started kelvoran\n7 RfcOpen called \n"},
      {",SYSLOG", "0 program started kelvoran\n7 RfcOpen called \n"},
      {"SYSLOG", ""},
      {"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.options);
    TempDir dir;
    ScopedWorkingDirectory cwd(dir.Path());
    {
      TestContext t;
      t.ctx.parameterText = c.options;
      RebuildParameterString(t.ctx);
      WriteLogLine(t.ctx, 0, "program started", "kelvoran");
      WriteLogLine(t.ctx, 7, "RfcOpen called", "");
    }
    EXPECT_EQ(dir.ReadText(kLogFileName), c.expected);
  }
}

TEST(LogWriterTest, AppendsToAnExistingLog) {
  TempDir dir;
  ScopedWorkingDirectory cwd(dir.Path());
  dir.Write(kLogFileName, "earlier\n");
  TestContext t;
  t.ctx.parameterText = ",SYSLOG";
  RebuildParameterString(t.ctx);
  WriteLogLine(t.ctx, 3, "RfcCall called", "");
  EXPECT_EQ(dir.ReadText(kLogFileName), "earlier\n3 RfcCall called \n");
}

}  // namespace
}  // namespace kelvoran
