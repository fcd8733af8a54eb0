#include "driver/run_deadline.h"

#include <gtest/gtest.h>

#include <vector>

#include "driver/command_line.h"
#include "support/test_context.h"

namespace kelvoran {
namespace {

TEST(RunDeadlineTest, TimeoutValues) {
  struct Case {
    const char* options;
    unsigned seconds;
  } cases[] = {
      {"", 0},
      {"TIMEOUT=20", 20},
      {"-s timeout=1,SYSLOG", 1},
      {"TimeOut=900 CH=2", 900},
      {"TIMEOUT=007", 7},
      {"XTIMEOUT=5", 5},  // a keyword is found inside a longer word, like every keyword
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.options);
    TestContext t;
    std::vector<const char*> args = {"kelvoran", "PRD", c.options};
    ASSERT_EQ(ParseCommandLine(t.ctx, 3, args.data()), std::nullopt);
    EXPECT_EQ(t.ctx.timeoutSeconds, c.seconds);
  }
}

TEST(RunDeadlineTest, SensorOptionsReplaceOrKeepTheTimeout) {
  TestContext t;
  t.ctx.timeoutSeconds = 50;  // from the command line
  t.ctx.parameterText = "Item=A,SYSLOG";
  RebuildParameterString(t.ctx);
  ASSERT_EQ(ReadTimeout(t.ctx), std::nullopt);
  EXPECT_EQ(t.ctx.timeoutSeconds, 50u);

  t.ctx.parameterText = "Item=A,Timeout=12";
  RebuildParameterString(t.ctx);
  ASSERT_EQ(ReadTimeout(t.ctx), std::nullopt);
  EXPECT_EQ(t.ctx.timeoutSeconds, 12u);

  // The value is shown as typed, ':' included.
  t.ctx.parameterText = "Item=A,Timeout=1:5";
  RebuildParameterString(t.ctx);
  EXPECT_EQ(ReadTimeout(t.ctx), "Error 1033: Invalid Timeout 1:5 found...");
  EXPECT_EQ(t.ctx.timeoutSeconds, 12u);
}

TEST(RunDeadlineTest, TimeoutDocument) {
  DeadlineView view;
  view.seconds = 20;
  view.operation = "RfcReceive";
  view.destination = "PRD";
  EXPECT_EQ(TimeoutMessage(view), "Error 1032: Timeout after 20 s in RfcReceive for PRD !");

  // The destination comes from a profile: escaped, so the document stays well-formed.
  view.destination = "<A&B>";
  const std::string escaped = "Error 1032: Timeout after 20 s in RfcReceive for &lt;A&amp;B&gt; !";
  EXPECT_EQ(TimeoutDocument(view),
            "<Prtg>\n<Error>1</Error>\n<Text>" + escaped + "</Text>\n</Prtg>\n");
  view.envelopeOpen = true;
  EXPECT_EQ(TimeoutDocument(view), "<Error>1</Error>\n<Text>" + escaped + "</Text>\n</Prtg>\n");
  // A text flavour has no envelope to complete: the whole error document.
  view.flavour = HostFlavour::Tolvane;
  EXPECT_EQ(TimeoutDocument(view),
            "<Prtg>\n<Error>1</Error>\n<Text>" + escaped + "</Text>\n</Prtg>\n");
}

}  // namespace
}  // namespace kelvoran
