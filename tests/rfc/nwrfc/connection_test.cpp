// The connection parameters the probe hands to the NW RFC library, on either route.
#include "rfc/connection.h"

#include <gtest/gtest.h>

#include <string>

#include "rfc/library_steps.h"
#include "rfc/nwrfc/library_state.h"
#include "support/temp_dir.h"
#include "support/test_context.h"

namespace kelvoran {
namespace {

// The parameters of the last open as "name=value" words, each ended by '|' so that blanks
// at the end of a value show.
std::string Parameters(RunContext& ctx) {
  const LibraryState& rfc = NwState(ctx);
  std::string text;
  for (std::size_t i = 0; i + 1 < rfc.parameterTexts.size(); i += 2) {
    const SapText& name = rfc.parameterTexts[i];
    const SapText& value = rfc.parameterTexts[i + 1];
    text += FromSapText(name.data(), name.size(), CodePage::Latin1) + "=" +
            FromSapText(value.data(), value.size(), CodePage::Latin1) + "|";
  }
  return text;
}

// Every value leaves out the profile value's trailing blanks; a blank inside one stays.
TEST(NwConnectionTest, ParametersLeaveOutTrailingBlanks) {
  struct Case {
    const char* label;
    SystemProfile profile;
    bool destinationFile;  // SapRfc.PRD present
    const char* parameters;
  } cases[] = {
      {"direct, as written",
       {"", "PRD", "100", "MONI", "my pass", "E", "R/3", "sapprd", "07", "", ""},
       false,
       "ashost=sapprd|sysnr=07|client=100|user=MONI|passwd=my pass|lang=E|"},
      {"direct, trailing blanks in each value",
       {"", "PRD ", "100 ", "MONI  ", "my pass  ", "E ", "R/3", "sapprd ", "07 ", "", ""},
       false,
       "ashost=sapprd|sysnr=07|client=100|user=MONI|passwd=my pass|lang=E|"},
      {"by destination PRD with a blank after it",
       {"", "PRD ", "100 ", "MONI ", "p ", "E", "R/3", "sapold", "07", "", ""},
       true,
       "dest=PRD|client=100|user=MONI|passwd=p|lang=D|"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    TempDir dir;
    const ScopedWorkingDirectory cwd(dir.Path());
    if (c.destinationFile) dir.Write("SapRfc.PRD", "DEST=PRD\nASHOST=sapprd\nSYSNR=07\n");
    TestContext t;
    t.ctx.profile = c.profile;
    OpenConnection(t.ctx);
    EXPECT_EQ(Parameters(t.ctx), c.parameters);
  }
}

// A folder of the probe's own that cannot be made: Error 1011 says so, the library is not asked
// to open, and nothing is left behind.
TEST(NwConnectionTest, OwnFolderThatCannotBeMade) {
  class NoFolders : public DiskFileSystem {
   public:
    bool MakeFolder(const std::string&) override { return false; }
  };
  TempDir dir;
  const ScopedWorkingDirectory cwd(dir.Path());
  dir.Write("SapRfc.PRD", "DEST=PRD\nASHOST=sapprd\nSYSNR=07\n");
  CapturedConsole console;
  NoFolders files;
  FixedClock clock("14:03:07");
  RunContext refusing(console, files, clock);
  ASSERT_EQ(LoadRfcLibrary(refusing, ""), std::nullopt);
  refusing.profile = {"", "PRD", "100", "MONI", "pw", "E", "R/3", "sapprd", "07", "", ""};
  EXPECT_EQ(OpenConnection(refusing), 0u);
  EXPECT_EQ(refusing.rfc.openFailure,
            "sapnwrfc.ini cannot be written from SapRfc.PRD in the working directory");
  EXPECT_EQ(NwState(refusing).opened, 0u);
  EXPECT_FALSE(refusing.rfc.temporaryIniPresent.load());
}

}  // namespace
}  // namespace kelvoran
