// The probe as the monitor starts it: exact standard output and exit status.
#include <gtest/gtest.h>

#include "e2e/probe_runner.h"
#include "support/temp_dir.h"

namespace kelvoran {
namespace {

TEST(StartUpTest, NoArgumentGivesError1001) {
  TempDir dir;
  const ProcessResult result = RunProcess(ProbePath(), {}, dir.Path());
  EXPECT_EQ(result.out,
            OnConsole("<Prtg>\n<Error>1</Error>\n<Text>Error 1001: Parameter for Profile-Name "
                      "is missing !</Text>\n</Prtg>\n"));
  EXPECT_EQ(result.status, 2);
}

TEST(StartUpTest, UnknownFlavourGivesError1031) {
  TempDir dir;
  const ProcessResult result = RunProcess(ProbePath(), {"PRD", "FLAVOUR=x<y>"}, dir.Path());
  EXPECT_EQ(result.out,
            OnConsole("<Prtg>\n<Error>1</Error>\n<Text>Error 1031: Invalid Flavour x&lt;y&gt; "
                      "found...</Text>\n</Prtg>\n"));
  EXPECT_EQ(result.status, 2);
}

// The document is the same whatever flavour the cut-off options would have named, and it
// comes before anything looks for the profile.
TEST(StartUpTest, OptionTextOverTheLimitGivesError1037) {
  TempDir dir;
  const ProcessResult result = RunProcess(
      ProbePath(), {"NOPROFILE", "FLAVOUR=Tolvane", std::string(110, 'o'), "TIMEOUT=1"}, dir.Path());
  EXPECT_EQ(result.out,
            OnConsole("<Prtg>\n<Error>1</Error>\n<Text>Error 1037: Option text longer than 127 "
                      "characters found...</Text>\n</Prtg>\n"));
  EXPECT_EQ(result.status, 2);
}

TEST(StartUpTest, HelpAndVersionForPeople) {
  TempDir dir;
  const ProcessResult version = RunProcess(ProbePath(), {"--version"}, dir.Path());
  EXPECT_EQ(version.out, OnConsole("Kelvoran Vers 4.3 / 29.08.22\n"));
  EXPECT_EQ(version.status, 0);
  for (const char* flag : {"--help", "-h"}) {
    SCOPED_TRACE(flag);
    const ProcessResult help = RunProcess(ProbePath(), {flag}, dir.Path());
    EXPECT_EQ(help.out.rfind("Usage: kelvoran PROFILE", 0), 0u);
    EXPECT_NE(help.out.find("Exit status"), std::string::npos);
    EXPECT_EQ(help.status, 0);
  }
}

}  // namespace
}  // namespace kelvoran
