#include "output/log_writer.h"

#include <gtest/gtest.h>

#include <filesystem>

#ifndef _WIN32
#include <sys/stat.h>
#endif

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

// Something other than a file in the log's place: no log, and the run goes on.
TEST(LogWriterTest, NoLogWhereTheLogFileCannotBe) {
  struct Case {
    const char* label;
    bool fifo;  // otherwise a directory
  } cases[] = {
      {"a directory", false},
#ifndef _WIN32
      {"a FIFO without reader, which must not hang the probe", true},
#endif
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    TempDir dir;
    ScopedWorkingDirectory cwd(dir.Path());
    if (c.fifo) {
#ifndef _WIN32
      ASSERT_EQ(mkfifo(kLogFileName, 0600), 0);
#endif
    } else {
      std::filesystem::create_directory(kLogFileName);
    }
    TestContext t;
    t.ctx.parameterText = ",SYSLOG";
    RebuildParameterString(t.ctx);
    WriteLogLine(t.ctx, 0, "program started", "kelvoran");
    WriteLogLine(t.ctx, 1, "RfcOpen called", "");
    EXPECT_EQ(std::filesystem::is_fifo(kLogFileName), c.fifo);
  }
}

}  // namespace
}  // namespace kelvoran
