// The destination route in a folder shared with other probes: the copy over SapRfc.ini is put
// in place only under the folder's SapRfc.ini lock, which the direct route never touches.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

#include "platform/folder_lock.h"
#include "rfc/connection.h"
#include "support/temp_dir.h"
#include "support/test_context.h"

namespace kelvoran {
namespace {

const std::string kCopy = "DEST=PRD\r\nASHOST=sapprd\r\nSYSNR=07\r\n";

class ConnectionSharedFolderTest : public ::testing::Test {
 protected:
  ConnectionSharedFolderTest() : cwd_(dir_.Path()) {
    SystemProfile& p = t_.ctx.profile;
    p.destination = "PRD";
    p.client = "100";
    p.user = "MONI";
    p.password = "p";
    p.mode = "R/3";
    p.hostname = "sapprd";
    p.sysnr = "07";
    t_.ctx.folderLock = &lock_;
  }

  // Every file of the folder but the configuration files, the library's trace and the lock
  // file: temporary copies, for instance.
  std::vector<std::string> Leftovers() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir_.Path())) {
      const std::string name = entry.path().filename().string();
      if (name.rfind("SapRfc.", 0) != 0 && name != "Dev_Rfc.Trc" && name != kFolderLockFileName) {
        names.push_back(name);
      }
    }
    return names;
  }

  TempDir dir_;
  ScopedWorkingDirectory cwd_;
  FolderLock lock_;
  TestContext t_;
};

// Another probe holds the lock (between its copy and its RfcOpenEx): the destination route
// waits for it before its copy replaces SapRfc.ini; the direct route goes on at once.
TEST_F(ConnectionSharedFolderTest, OnlyTheDestinationRouteWaitsForAnotherProbesOpen) {
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
TEST_F(ConnectionSharedFolderTest, NothingHeldAndNoCopyLeftOnEitherEnding) {
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
    EXPECT_EQ(Leftovers(), std::vector<std::string>{});
    FolderLock otherProbe;
    EXPECT_TRUE(otherProbe.TryLockExclusive(FolderLockRange::SapRfcIni));
  }
}

// SapRfc.ini.new, the per-destination file of the destination ini.new, was once the name of
// the copy itself: the file was truncated while it was read.
TEST_F(ConnectionSharedFolderTest, ThePerDestinationFileOfIniNewIsOnlyRead) {
  t_.ctx.profile.destination = "ini.new";
  const std::string content = "DEST=ini.new\nASHOST=h\nSYSNR=00\n";
  dir_.Write("SapRfc.ini.new", content);
  OpenConnection(t_.ctx);
  EXPECT_EQ(dir_.Read("SapRfc.ini.new"), content);
  EXPECT_EQ(dir_.Read("SapRfc.ini"), content);
}

}  // namespace
}  // namespace kelvoran
