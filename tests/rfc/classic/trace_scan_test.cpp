#include "rfc/classic/trace_scan.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"
#include "support/test_context.h"

namespace kelvoran {
namespace {

TEST(TraceScanTest, TellingLineOfTheTraceFile) {
  const std::string longLine = std::string(99, 'x') + "ERROR       continued text\n";
  struct Case {
    const char* label;
    std::string trace;
    const char* tail;
  } cases[] = {
      {"ERROR line after the opening line",
       "**** ERROR file opened at 20221010 101010\nERROR       partner not reached\n",
       " - partner not reached"},
      {"======> line replaces an ERROR line",
       "ERROR       first\nT:4711 ======> connection refused\n", " - connection refused"},
      {"ERROR line replaces a ======> line", "T:4711 ======> first\nERROR       second\n",
       " - second"},
      {"opening line discards earlier findings",
       "ERROR       old\n**** ERROR file opened at 20221010 101010\n",
       " - Please Check Trace-File !"},
      {"empty file", "", " - Please Check Trace-File !"},
      {"ERROR without blank", "ERROR\n", " - Please Check Trace-File !"},
      {"ERROR with empty text", "ERROR \n", " - Please Check Trace-File !"},
      {"text starts in the 13th character", "ERROR      xy\n", " - y"},
      {"marker must stand at characters 8 to 15", "T:47110 ======> off by one\n",
       " - Please Check Trace-File !"},
      {"continuation piece of a long line counts", longLine, " - continued text"},
      {"CR LF line end", "ERROR       windows line\r\n", " - windows line"},
      {"case matters", "error       lower\n", " - Please Check Trace-File !"},
      {"byte order mark before the first line", "\xEF\xBB\xBF" "ERROR       first line\n",
       " - first line"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    TempDir dir;
    ScopedWorkingDirectory cwd(dir.Path());
    dir.Write(kTraceFileName, c.trace);
    TestContext t;
    t.ctx.output.Append("Error 1014: RFC-Failure raised !");
    ScanTraceFile(t.ctx);
    EXPECT_EQ(t.ctx.output.Text(), std::string("Error 1014: RFC-Failure raised !") + c.tail);
    EXPECT_TRUE(dir.Exists(kTraceFileName));
  }
}

TEST(TraceScanTest, MissingTraceFile) {
  TempDir dir;
  ScopedWorkingDirectory cwd(dir.Path());
  TestContext t;
  ScanTraceFile(t.ctx);
  EXPECT_EQ(t.ctx.output.Text(), " - Look for Trace-File");
}

}  // namespace
}  // namespace kelvoran
