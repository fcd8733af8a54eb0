// The disk file system: only regular files are files, device names and paths the platform
// cannot open whole are never opened, and two names of one file are recognised as such.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "platform/file_system.h"
#include "support/temp_dir.h"

namespace kelvoran {
namespace {

class DiskFileSystemTest : public ::testing::Test {
 protected:
  std::string At(const std::string& name) const { return (dir_.Path() / name).string(); }
  TempDir dir_;
  DiskFileSystem files_;
};

TEST_F(DiskFileSystemTest, OnlyRegularFilesExist) {
  dir_.Write("PRD.P00", "Destination: PRD\n");
  std::filesystem::create_directory(dir_.Path() / "QAS.P00");
  EXPECT_TRUE(files_.Exists(At("PRD.P00")));
  EXPECT_FALSE(files_.Exists(At("QAS.P00")));
  EXPECT_FALSE(files_.Exists(At("DEV.P00")));
  EXPECT_FALSE(files_.Exists(dir_.Path().string()));
  // A directory is not written to either, nor renamed over, nor removed.
  for (const char* mode : {"wb", "a", "rb"}) EXPECT_EQ(files_.Open(At("QAS.P00"), mode), nullptr);
  EXPECT_FALSE(files_.Rename(At("PRD.P00"), At("QAS.P00")));
  EXPECT_FALSE(files_.Remove(At("QAS.P00")));
  EXPECT_TRUE(std::filesystem::is_directory(dir_.Path() / "QAS.P00"));
  EXPECT_EQ(dir_.Read("PRD.P00"), "Destination: PRD\n");
}

TEST_F(DiskFileSystemTest, DeviceNamesAreNeverOpened) {
#ifndef _WIN32
  // Where such names are ordinary files, they are still refused: the probe behaves alike on
  // every platform.
  for (const char* name : {"NUL.P00", "aux", "COM1.txt"}) dir_.Write(name, "x");
#endif
  for (const char* name : {"NUL.P00", "aux", "COM1.txt", "con", "LPT2.P00", "PRN"}) {
    SCOPED_TRACE(name);
    EXPECT_FALSE(files_.Exists(At(name)));
    EXPECT_FALSE(files_.Exists(name));
    EXPECT_EQ(files_.Open(At(name), "wb"), nullptr);
    EXPECT_EQ(files_.Open(At(name), "a"), nullptr);
    EXPECT_FALSE(files_.Remove(At(name)));
  }
  dir_.Write("PRD.P00", "x");
  EXPECT_FALSE(files_.Rename(At("PRD.P00"), At("NUL")));
  EXPECT_TRUE(dir_.Exists("PRD.P00"));
}

TEST_F(DiskFileSystemTest, PathsThatCannotBeOpenedWholeAreNoFiles) {
  dir_.Write("PRD", "x");
  // A NUL character would cut the path at "PRD".
  const std::string withNul = At("PRD") + std::string(1, '\0') + ".P00";
  EXPECT_FALSE(files_.Exists(withNul));
  EXPECT_EQ(files_.Open(withNul, "wb"), nullptr);
  EXPECT_FALSE(files_.Remove(withNul));
  EXPECT_TRUE(dir_.Exists("PRD"));
  // Longer than any platform opens.
  const std::string tooLong = At(std::string(300, 'a') + ".P00");
  EXPECT_FALSE(files_.Exists(tooLong));
  EXPECT_EQ(files_.Open(tooLong, "wb"), nullptr);
  EXPECT_FALSE(files_.Exists(""));
}

#ifndef _WIN32
TEST_F(DiskFileSystemTest, APipeIsNoFileAndOpeningItDoesNotWait) {
  ASSERT_EQ(mkfifo(At("PRD.P00").c_str(), 0600), 0);
  EXPECT_FALSE(files_.Exists(At("PRD.P00")));
  EXPECT_EQ(files_.Open(At("PRD.P00"), "a"), nullptr);
}
#endif

TEST_F(DiskFileSystemTest, SameFileKnowsTwoNamesOfOneFile) {
  dir_.Write("SapRfc.ini", "DEST=PRD\n");
  dir_.Write("SapRfc.PRD", "DEST=PRD\n");
  const std::string ini = At("SapRfc.ini");
  EXPECT_TRUE(files_.SameFile(ini, ini));
  EXPECT_TRUE(files_.SameFile(ini, (dir_.Path() / "." / "SapRfc.ini").string()));
  EXPECT_FALSE(files_.SameFile(ini, At("SapRfc.PRD")));
  EXPECT_FALSE(files_.SameFile(At("SapRfc.QAS"), At("SapRfc.QAS")));
  EXPECT_FALSE(files_.SameFile(ini, At("NUL")));
#ifdef _WIN32
  // File names ignore letter case and trailing dots on Windows.
  EXPECT_TRUE(files_.SameFile(ini, At("SapRfc.INI")));
  EXPECT_TRUE(files_.SameFile(ini, At("SapRfc.ini.")));
#else
  ASSERT_EQ(link(ini.c_str(), At("SapRfc.DEV").c_str()), 0);
  EXPECT_TRUE(files_.SameFile(ini, At("SapRfc.DEV")));
#endif
}

}  // namespace
}  // namespace kelvoran
