#include "rfc/connection.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>
#include <vector>

#include "driver/command_line.h"
#include "rfc/classic/connect_string.h"
#include "rfc/classic/library_state.h"
#include "platform/folder_lock.h"
#include "support/temp_dir.h"
#include "support/test_context.h"

namespace kelvoran {
namespace {

class ConnectionTest : public ::testing::Test {
 protected:
  ConnectionTest() : cwd_(dir_.Path()) {
    SystemProfile& p = t_.ctx.profile;
    p.destination = "PRD";
    p.client = "100";
    p.user = "MONI";
    p.password = "p";
    p.language = "E";
    p.mode = "R/3";
    p.hostname = "sapprd";
    p.sysnr = "07";
    p.gwhost = "gw";
    p.gwservice = "sapgw07";
  }

  void SetOptions(const std::string& options) {
    t_.ctx.parameterText = options;
    RebuildParameterString(t_.ctx);
  }

  static std::string Text(const char* text) { return text ? text : "<null>"; }

  TempDir dir_;
  ScopedWorkingDirectory cwd_;
  TestContext t_;
};

TEST_F(ConnectionTest, OptionsRecordOfAnR3Connection) {
  OpenConnection(t_.ctx);
  const ConnectionOptions& o = ClassicState(t_.ctx).options;
  EXPECT_EQ(Text(o.destination), "PRD");
  EXPECT_EQ(o.mode, 0);
  EXPECT_EQ(o.connectionParameters, &ClassicState(t_.ctx).server);
  EXPECT_EQ(Text(o.client), "100");
  EXPECT_EQ(Text(o.user), "MONI        ");
  EXPECT_EQ(Text(o.password), "p         ");
  EXPECT_EQ(Text(o.language), "E");
  EXPECT_EQ(o.trace, 0);
  const ServerParameters& s = ClassicState(t_.ctx).server;
  EXPECT_EQ(Text(s.hostName), "sapprd");
  EXPECT_EQ(s.systemNumber, 7);
  EXPECT_EQ(Text(s.gatewayHost), "gw");
  EXPECT_EQ(Text(s.gatewayService), "sapgw07");
  // The records point at the connection's own copies, never at the profile.
  EXPECT_NE(o.destination, t_.ctx.profile.destination.data());
}

TEST_F(ConnectionTest, ModeR2OnlyWhenExactlyR2) {
  struct Case {
    const char* mode;
    int expected;
  } cases[] = {{"R/2", 1}, {"R/3", 0}, {"r/2", 0}, {"R/2 ", 0}, {"", 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    t_.ctx.profile.mode = c.mode;
    OpenConnection(t_.ctx);
    EXPECT_EQ(ClassicState(t_.ctx).options.mode, c.expected);
    if (c.expected == 1) {
      EXPECT_EQ(ClassicState(t_.ctx).options.connectionParameters, &ClassicState(t_.ctx).gateway);
      EXPECT_EQ(Text(ClassicState(t_.ctx).gateway.gatewayHost), "gw");
      EXPECT_EQ(Text(ClassicState(t_.ctx).gateway.gatewayService), "sapgw07");
    }
  }
}

TEST_F(ConnectionTest, EmptyHostFieldsArePassedAsNull) {
  t_.ctx.profile.hostname.clear();
  t_.ctx.profile.gwhost.clear();
  t_.ctx.profile.gwservice.clear();
  OpenConnection(t_.ctx);
  EXPECT_EQ(ClassicState(t_.ctx).server.hostName, nullptr);
  EXPECT_EQ(ClassicState(t_.ctx).server.gatewayHost, nullptr);
  EXPECT_EQ(ClassicState(t_.ctx).server.gatewayService, nullptr);
  t_.ctx.profile.mode = "R/2";
  OpenConnection(t_.ctx);
  EXPECT_EQ(ClassicState(t_.ctx).gateway.gatewayHost, nullptr);
  EXPECT_EQ(ClassicState(t_.ctx).gateway.gatewayService, nullptr);
}

TEST_F(ConnectionTest, SystemNumberReadsLeadingDigitsAndKeepsItsValueWhenEmpty) {
  struct Case {
    const char* sysnr;
    int expected;
  } cases[] = {{"00", 0}, {"7a", 7}, {"x", 0}, {"42", 42}, {"", 42}, {"99999999999", 2147483647}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.sysnr);
    t_.ctx.profile.sysnr = c.sysnr;
    OpenConnection(t_.ctx);
    EXPECT_EQ(ClassicState(t_.ctx).server.systemNumber, c.expected);
  }
}

TEST_F(ConnectionTest, LongUserAndPasswordAreNotPadded) {
  t_.ctx.profile.user = "AVERYLONGUSERNAME";
  t_.ctx.profile.password = "longpassword";
  OpenConnection(t_.ctx);
  EXPECT_EQ(Text(ClassicState(t_.ctx).options.user), "AVERYLONGUSERNAME");
  EXPECT_EQ(Text(ClassicState(t_.ctx).options.password), "longpassword");
}

TEST_F(ConnectionTest, HostAndSystemNumberOverrides) {
  struct Case {
    const char* options;
    std::string host;
    int sysnr;
  } cases[] = {
      {"-s,HOST=sapapp2,x", "sapapp2", 7},
      {"-s,host=SapApp2 x", "SapApp2", 7},
      {"-s,NO=12", "sapprd", 12},
      {"-s,HOST=h2,NO=03", "h2", 3},
      {"-s,HOST=", "<null>", 7},
      {"-s,NO=,x", "sapprd", 7},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.options);
    ClassicState(t_.ctx).server.systemNumber = 7;
    SetOptions(c.options);
    OpenConnection(t_.ctx);
    EXPECT_EQ(Text(ClassicState(t_.ctx).server.hostName), c.host);
    EXPECT_EQ(ClassicState(t_.ctx).server.systemNumber, c.sysnr);
  }
}

// SAP's library reads a connect-string value up to its first blank: a profile value's
// trailing blanks are left out, and only a blank (or tab) inside a value needs the quotes.
TEST_F(ConnectionTest, ConnectStringLeavesOutTrailingBlanksAndQuotesInnerOnes) {
  struct Case {
    const char* label;
    const char *client, *user, *password, *destination;
    const char* connectString;
  } cases[] = {
      {"plain", "100", "MONI", "p", "PRD", "CLIENT=100 USER=MONI PASSWD=p LANG=D DEST=PRD"},
      {"trailing blanks in each value", "100 ", "MONI  ", "p   ", "PRD ",
       "CLIENT=100 USER=MONI PASSWD=p LANG=D DEST=PRD"},
      {"a blank inside the password", "100", "MONI", "my secret", "PRD",
       "CLIENT=100 USER=MONI PASSWD=\"my secret\" LANG=D DEST=PRD"},
      {"a blank inside and blanks after it", "100", "MONI", "my secret  ", "PRD ",
       "CLIENT=100 USER=MONI PASSWD=\"my secret\" LANG=D DEST=PRD"},
      {"a leading blank", "100", "MONI", " lead", "PRD",
       "CLIENT=100 USER=MONI PASSWD=\" lead\" LANG=D DEST=PRD"},
      {"a tab inside", "100", "MONI", "a\tb", "PRD",
       "CLIENT=100 USER=MONI PASSWD=\"a\tb\" LANG=D DEST=PRD"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    SystemProfile& p = t_.ctx.profile;
    p.client = c.client;
    p.user = c.user;
    p.password = c.password;
    p.destination = c.destination;
    EXPECT_EQ(BuildConnectString(t_.ctx), c.connectString);
  }
}

// The options record of RfcOpen: trailing blanks left out of every value, then user and
// password padded to their widths as the classic records carry them.
TEST_F(ConnectionTest, OptionsRecordLeavesOutTrailingBlanks) {
  SystemProfile& p = t_.ctx.profile;
  p.destination = "PRD ";
  p.client = "100  ";
  p.user = "AVERYLONGUSER  ";
  p.password = "longpassword ";
  p.language = "E ";
  p.hostname = "sapprd ";
  p.gwhost = "gw ";
  p.gwservice = "sapgw07 ";
  OpenConnection(t_.ctx);
  const ConnectionOptions& o = ClassicState(t_.ctx).options;
  EXPECT_EQ(Text(o.destination), "PRD");
  EXPECT_EQ(Text(o.client), "100");
  EXPECT_EQ(Text(o.user), "AVERYLONGUSER");
  EXPECT_EQ(Text(o.password), "longpassword");
  EXPECT_EQ(Text(o.language), "E");
  const ServerParameters& s = ClassicState(t_.ctx).server;
  EXPECT_EQ(Text(s.hostName), "sapprd");
  EXPECT_EQ(Text(s.gatewayHost), "gw");
  EXPECT_EQ(Text(s.gatewayService), "sapgw07");
  p.user = "MONI   ";
  p.password = "p  ";
  OpenConnection(t_.ctx);
  EXPECT_EQ(Text(o.user), "MONI        ");
  EXPECT_EQ(Text(o.password), "p         ");
}

TEST_F(ConnectionTest, PerDestinationFileReplacesSapRfcIni) {
  const std::string content = "DEST=PRD\r\nASHOST=sapprd\r\nSYSNR=07\r\n\x01\xff";
  dir_.Write("SapRfc.PRD", content);
  dir_.Write("SapRfc.ini", "old content that is longer than the new one............");
  OpenConnection(t_.ctx);
  EXPECT_EQ(dir_.Read("SapRfc.ini"), content);
  EXPECT_FALSE(dir_.Exists("SapRfc.ini.new"));
}

// The line that announces the per-destination file would break an XML document the host
// parses: it goes to standard error there, unless it joins the other console lines.
TEST_F(ConnectionTest, PerDestinationLineStaysOutOfXmlDocuments) {
  const std::string line = "* SapRfc.Ini.......: PRD<\n";
  struct Case {
    HostFlavour flavour;
    bool verbose;
    std::string out, err;
  } cases[] = {
      {HostFlavour::ExeXml, false, "", line},   {HostFlavour::Quellon, false, "", line},
      {HostFlavour::Vistrel, false, "", line},  {HostFlavour::ExeXml, true, line, ""},
      {HostFlavour::Brennick, false, line, ""}, {HostFlavour::Tolvane, false, line, ""},
  };
  dir_.Write("SapRfc.PRD", "DEST=PRD\n");
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(HostFlavourName(c.flavour)) + (c.verbose ? " verbose" : ""));
    t_.console.Clear();
    t_.ctx.hostFlavour = c.flavour;
    t_.ctx.verboseMode = c.verbose;
    OpenConnection(t_.ctx);
    EXPECT_EQ(t_.console.Text(), c.out);
    EXPECT_EQ(t_.console.ErrorText(), c.err);
  }
}

// SAP's library would read a byte order mark as part of the first key: the copy starts behind
// it, and is otherwise the file byte for byte.
TEST_F(ConnectionTest, ByteOrderMarkOfThePerDestinationFileIsNotCopied) {
  const std::string content = "DEST=PRD\r\nASHOST=sapprd\r\nSYSNR=07\r\n";
  dir_.Write("SapRfc.PRD", "\xEF\xBB\xBF" + content);
  OpenConnection(t_.ctx);
  EXPECT_EQ(dir_.Read("SapRfc.ini"), content);
}

TEST_F(ConnectionTest, EmptyPerDestinationFileGivesEmptySapRfcIni) {
  dir_.Write("SapRfc.PRD", "");
  dir_.Write("SapRfc.ini", "old");
  OpenConnection(t_.ctx);
  EXPECT_EQ(dir_.Read("SapRfc.ini"), "");
}

TEST_F(ConnectionTest, WithoutPerDestinationFileSapRfcIniIsUntouched) {
  dir_.Write("SapRfc.ini", "DEST=QAS\n");
  OpenConnection(t_.ctx);
  EXPECT_EQ(dir_.Read("SapRfc.ini"), "DEST=QAS\n");
  EXPECT_EQ(t_.console.Text(), "");
}

const std::string kCopy = "DEST=PRD\r\nASHOST=sapprd\r\nSYSNR=07\r\n";

// Every file of `dir` but the configuration files, the library's trace and the lock file:
// temporary copies, for instance.
std::vector<std::string> Leftovers(const TempDir& dir) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
    const std::string name = entry.path().filename().string();
    if (name.rfind("SapRfc.", 0) != 0 && name != "Dev_Rfc.Trc" && name != kFolderLockFileName) {
      names.push_back(name);
    }
  }
  return names;
}

// The destination route in a folder shared with other probes: the copy over SapRfc.ini is put
// in place only under the folder's SapRfc.ini lock, which the direct route never touches.
// Another probe holds the lock (between its copy and its RfcOpenEx): the destination route
// waits for it before its copy replaces SapRfc.ini; the direct route goes on at once.
TEST_F(ConnectionTest, OnlyTheDestinationRouteWaitsForAnotherProbesOpen) {
  FolderLock lock;
  t_.ctx.folderLock = &lock;
  struct Case {
    const char* label;
    bool destinationFile;
    bool waits;
  } cases[] = {
      {"destination route", true, true},
      {"direct route", false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    dir_.Write("SapRfc.ini", "DEST=QAS\n");
    if (c.destinationFile) dir_.Write("SapRfc.PRD", kCopy);
    FolderLock otherProbe;
    ASSERT_TRUE(otherProbe.LockExclusive(FolderLockRange::SapRfcIni));
    std::atomic<bool> done{false};
    std::thread run([&] {
      OpenConnection(t_.ctx);
      done = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(done.load(), !c.waits);
    // What the other probe's library reads stays its own until it lets go.
    EXPECT_EQ(dir_.Read("SapRfc.ini"), "DEST=QAS\n");
    otherProbe.Unlock(FolderLockRange::SapRfcIni);
    run.join();
    EXPECT_EQ(dir_.Read("SapRfc.ini"), c.destinationFile ? kCopy : "DEST=QAS\n");
    std::filesystem::remove(dir_.Path() / "SapRfc.PRD");
  }
}

// Whether the copy is put in place or not, the lock is free again and no copy is left.
TEST_F(ConnectionTest, NothingHeldAndNoCopyLeftOnEitherEnding) {
  FolderLock lock;
  t_.ctx.folderLock = &lock;
  struct Case {
    const char* label;
    bool rfcIniIsADirectory;
  } cases[] = {
      {"copy put in place", false},
      {"SapRfc.ini cannot be replaced", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    std::filesystem::remove_all(dir_.Path() / "SapRfc.ini");
    if (c.rfcIniIsADirectory) std::filesystem::create_directory(dir_.Path() / "SapRfc.ini");
    dir_.Write("SapRfc.PRD", kCopy);
    OpenConnection(t_.ctx);
    EXPECT_EQ(std::filesystem::is_directory(dir_.Path() / "SapRfc.ini"), c.rfcIniIsADirectory);
    EXPECT_EQ(Leftovers(dir_), std::vector<std::string>{});
    FolderLock otherProbe;
    EXPECT_TRUE(otherProbe.TryLockExclusive(FolderLockRange::SapRfcIni));
  }
}

// SapRfc.ini.new, the per-destination file of the destination ini.new, was once the name of
// the copy itself: the file was truncated while it was read.
TEST_F(ConnectionTest, ThePerDestinationFileOfIniNewIsOnlyRead) {
  FolderLock lock;
  t_.ctx.folderLock = &lock;
  t_.ctx.profile.destination = "ini.new";
  const std::string content = "DEST=ini.new\nASHOST=h\nSYSNR=00\n";
  dir_.Write("SapRfc.ini.new", content);
  OpenConnection(t_.ctx);
  EXPECT_EQ(dir_.Read("SapRfc.ini.new"), content);
  EXPECT_EQ(dir_.Read("SapRfc.ini"), content);
}

}  // namespace
}  // namespace kelvoran
