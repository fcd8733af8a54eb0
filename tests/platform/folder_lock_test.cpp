#include "platform/folder_lock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

#ifndef _WIN32
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "support/temp_dir.h"

namespace kelvoran {
namespace {

// Two lock objects stand for two probes of one folder: their locks exclude each other even
// within one process.
class FolderLockTest : public ::testing::Test {
 protected:
  std::string LockPath() const { return (dir_.Path() / kFolderLockFileName).string(); }

  TempDir dir_;
};

TEST_F(FolderLockTest, WhatAnotherHolderLetsAnExclusiveTryHave) {
  enum class Other { Nothing, Shared, Exclusive };
  struct Case {
    const char* label;
    Other other;
    FolderLockRange otherRange;
    bool granted;  // TryLockExclusive on RfcPhase
  } cases[] = {
      {"nobody holds it", Other::Nothing, FolderLockRange::RfcPhase, true},
      {"another holds it shared", Other::Shared, FolderLockRange::RfcPhase, false},
      {"another holds it exclusively", Other::Exclusive, FolderLockRange::RfcPhase, false},
      {"another holds the other lock shared", Other::Shared, FolderLockRange::SapRfcIni, true},
      {"another holds the other lock exclusively", Other::Exclusive, FolderLockRange::SapRfcIni,
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    FolderLock other(LockPath());
    if (c.other == Other::Shared) {
      ASSERT_TRUE(other.LockShared(c.otherRange));
    } else if (c.other == Other::Exclusive) {
      ASSERT_TRUE(other.LockExclusive(c.otherRange));
    }
    FolderLock mine(LockPath());
    EXPECT_EQ(mine.TryLockExclusive(FolderLockRange::RfcPhase), c.granted);
  }
}

TEST_F(FolderLockTest, SharedHoldersCoexistAndTheLastOneOutFreesTheLock) {
  FolderLock first(LockPath());
  FolderLock second(LockPath());
  ASSERT_TRUE(first.LockShared(FolderLockRange::RfcPhase));
  ASSERT_TRUE(second.LockShared(FolderLockRange::RfcPhase));
  FolderLock deleter(LockPath());
  EXPECT_FALSE(deleter.TryLockExclusive(FolderLockRange::RfcPhase));
  first.Unlock(FolderLockRange::RfcPhase);
  EXPECT_FALSE(deleter.TryLockExclusive(FolderLockRange::RfcPhase));
  second.Unlock(FolderLockRange::RfcPhase);
  EXPECT_TRUE(deleter.TryLockExclusive(FolderLockRange::RfcPhase));
  // And while it holds it, nobody else has it.
  EXPECT_FALSE(first.TryLockExclusive(FolderLockRange::RfcPhase));
}

TEST_F(FolderLockTest, ATryGivesUpTheSharedHoldOfItsOwnObject) {
  FolderLock lock(LockPath());
  ASSERT_TRUE(lock.LockShared(FolderLockRange::RfcPhase));
  EXPECT_TRUE(lock.TryLockExclusive(FolderLockRange::RfcPhase));
  lock.Unlock(FolderLockRange::RfcPhase);
  FolderLock other(LockPath());
  EXPECT_TRUE(other.TryLockExclusive(FolderLockRange::RfcPhase));
}

TEST_F(FolderLockTest, AnExclusiveLockWaitsUntilTheHolderLetsGo) {
  FolderLock holder(LockPath());
  ASSERT_TRUE(holder.LockExclusive(FolderLockRange::SapRfcIni));
  std::atomic<bool> granted{false};
  std::thread waiter([&] {
    FolderLock lock(LockPath());
    granted = lock.LockExclusive(FolderLockRange::SapRfcIni);
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_FALSE(granted) << "granted while the holder still had it";
  holder.Unlock(FolderLockRange::SapRfcIni);
  waiter.join();
  EXPECT_TRUE(granted);
}

TEST_F(FolderLockTest, TheLockFileIsCreatedOnFirstUseAndNeverTruncated) {
  {
    FolderLock lock(LockPath());
    EXPECT_FALSE(dir_.Exists(kFolderLockFileName));
    ASSERT_TRUE(lock.LockShared(FolderLockRange::RfcPhase));
    EXPECT_TRUE(dir_.Exists(kFolderLockFileName));
  }
  EXPECT_EQ(dir_.Read(kFolderLockFileName), "");
  dir_.Write(kFolderLockFileName, "written by someone else");
  {
    FolderLock lock(LockPath());
    ASSERT_TRUE(lock.LockExclusive(FolderLockRange::SapRfcIni));
  }
  EXPECT_EQ(dir_.Read(kFolderLockFileName), "written by someone else");
}

TEST_F(FolderLockTest, ADirectoryInThePlaceOfTheLockFileMakesItUnusable) {
  std::filesystem::create_directory(LockPath());
  FolderLock lock(LockPath());
  EXPECT_FALSE(lock.Usable());
  EXPECT_FALSE(lock.LockShared(FolderLockRange::RfcPhase));
  EXPECT_FALSE(lock.LockExclusive(FolderLockRange::SapRfcIni));
  EXPECT_TRUE(std::filesystem::is_directory(LockPath()));
}

#ifndef _WIN32
// A monitor kills a sensor that overruns: the operating system must free what it held.
TEST_F(FolderLockTest, TheLocksOfAKilledProcessAreFreed) {
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    FolderLock lock(LockPath());
    const char held = lock.LockExclusive(FolderLockRange::SapRfcIni) &&
                              lock.LockShared(FolderLockRange::RfcPhase)
                          ? 'y'
                          : 'n';
    if (write(ready[1], &held, 1) != 1) _exit(1);
    for (;;) pause();
  }
  close(ready[1]);
  char held = 0;
  ASSERT_EQ(read(ready[0], &held, 1), 1);
  close(ready[0]);
  ASSERT_EQ(held, 'y');
  FolderLock lock(LockPath());
  EXPECT_FALSE(lock.TryLockExclusive(FolderLockRange::SapRfcIni));
  EXPECT_FALSE(lock.TryLockExclusive(FolderLockRange::RfcPhase));
  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
  EXPECT_TRUE(lock.TryLockExclusive(FolderLockRange::SapRfcIni));
  EXPECT_TRUE(lock.TryLockExclusive(FolderLockRange::RfcPhase));
}
#endif

}  // namespace
}  // namespace kelvoran
