// Files as the probe meets them on the monitor's host: directories and Windows device names
// are never taken for files, over-long names are missing files, a per-destination file that is
// SapRfc.ini itself is used as it stands, a destination's trailing blanks name no other file,
// and files saved with a byte order mark read as without it.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "e2e/probe_fixture.h"

namespace kelvoran {
namespace {

const std::string kSystem =
    "[PRD]\nASHOST = sapprd01\nSYSNR = 00\nLOGON = 100 MONI PrdMoni01\n"
    "FS_A_DATE = 20241007\nFS_A_TIME = 061500\nTAB_CNT = 41234\nCST_CNT = 40877\n"
    "IDX_CNT = 61590\n";

std::string Missing(const std::string& path) {
  return ErrorDocument("Error 1002: Profile " + path + " is missing...");
}

TEST(FileNamesTest, ProfilesThatAreNoFilesAreMissing) {
  const std::string longName(300, 'a');
  const struct {
    const char* label;
    std::string profile;   // the first argument
    std::string shown;     // the path in the message
    bool makeDirectory;    // the profile's name is a directory
  } cases[] = {
      {"NUL", "NUL", "NUL.P00", false},
      {"AUX must not wait for a device", "aux", "aux.P00", false},
      {"COM1 with a folder", "cfg\\COM1", "cfg\\COM1.P00", false},
      {"a directory", "PRD", "PRD.P00", true},
      {"longer than a path may be", longName, longName + ".P00", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    ProbeDirectory dir;
    dir.WriteLandscape(kSystem);
#ifndef _WIN32
    // Where device names are ordinary files they are refused all the same.
    dir.WriteProfile("NUL.P00", {});
    dir.WriteProfile("aux.P00", {});
#endif
    if (c.makeDirectory) std::filesystem::create_directory(dir.Path() / "PRD.P00");
    const ProcessResult result = dir.Run({c.profile, "FLAVOUR=Quellon"});
    EXPECT_EQ(result.out, OnConsole(Missing(c.shown)));
    EXPECT_EQ(result.status, 2);
  }
}

TEST(FileNamesTest, ListingEntriesThatAreNoFilesCountOnlyAsSystems) {
  ProbeDirectory dir;
  dir.WriteLandscape(kSystem);
  dir.WriteProfile("PRD.P00", {});
#ifndef _WIN32
  dir.WriteProfile("NUL.P00", {});
#endif
  std::filesystem::create_directory(dir.Path() / "OLD.P00");
  // "##" names the profile directory itself.
  dir.Write("Almandor.Prf", "# Gsng: Landscape   PRD.P00##NUL.P00#OLD.P00#\n");
  const ProcessResult result = dir.Run({"x", "ITEM=East"});
  EXPECT_EQ(result.out,
            OnConsole("\n<Prtg>\n\n\n<Text>(***) East: NoSystems=4, Processed=1, Failed=0"
                      "</Text>\n\n</Prtg>\n\n"));
  EXPECT_EQ(result.status, 0);
}

// Destination "ini" names SapRfc.ini itself, and "INI" does where file names ignore letter
// case: the file is used as it stands, and either way the run measures through it.
TEST(FileNamesTest, PerDestinationFileThatIsSapRfcIniItself) {
  for (const char* destination : {"ini", "INI"}) {
    SCOPED_TRACE(destination);
    ProbeDirectory dir;
    dir.WriteLandscape(kSystem);
    ProfileSettings settings;
    settings.destination = destination;
    settings.hostname = "sapold01";  // reached only through the destination's entry
    dir.WriteProfile("PRD.P00", settings);
    const std::string entry =
        "DEST=" + std::string(destination) + "\r\nASHOST=sapprd01\r\nSYSNR=00\r\n";
    dir.Write(std::string("SapRfc.") + destination, entry);
    const ProcessResult result = dir.Run({"PRD", "FLAVOUR=Tolvane"});
    EXPECT_EQ(result.out,
              OnConsole("* SapRfc.Ini.......: " + std::string(destination) + "<\n\n# (" +
                        destination + ") Kelvoran: Info=DB4,Date=20241007,Time=061500,Sid=PRD     "
                        "\n> No.of DB-Tables: 41234 #\n> No.of Prim.Keys: 40877 #"
                        "\n> No.of Indexes: 61590 #\n"));
    EXPECT_EQ(result.status, 0);
    // The NW RFC library read its own file, written from this one in a folder of the probe's
    // own that is gone again (the measurement through the entry shows it was read).
    if (ProbeUsesClassicLibrary()) {
      EXPECT_EQ(dir.Read("SapRfc.ini"), entry);
    }
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
      EXPECT_NE(entry.path().extension(), ".tmp") << entry.path();
  }
}

// A profile's destination "PRD " names SapRfc.PRD (as Windows opens that name anyway), and the
// library is asked for destination PRD: the run measures through the destination's entry.
TEST(FileNamesTest, DestinationWithTrailingBlankMeasuresThroughItsFile) {
  ProbeDirectory dir;
  dir.WriteLandscape(kSystem);
  ProfileSettings settings;
  settings.destination = "PRD ";
  settings.hostname = "sapold01";  // reached only through the destination's entry
  dir.WriteProfile("PRD.P00", settings);
  dir.Write("SapRfc.PRD", "DEST=PRD\r\nASHOST=sapprd01\r\nSYSNR=00\r\n");
  const ProcessResult result = dir.Run({"PRD", "FLAVOUR=Tolvane"});
  EXPECT_EQ(result.out,
            OnConsole("* SapRfc.Ini.......: PRD <\n\n# (PRD ) Kelvoran: Info=DB4,Date=20241007,"
                      "Time=061500,Sid=PRD     \n> No.of DB-Tables: 41234 #"
                      "\n> No.of Prim.Keys: 40877 #\n> No.of Indexes: 61590 #\n"));
  EXPECT_EQ(result.status, 0);
}

// Notepad may save any of the operator's files with a UTF-8 byte order mark in front of the
// first line, where it would hide that line's key or header.
TEST(FileNamesTest, FilesSavedWithAByteOrderMark) {
  const std::string mark = "\xEF\xBB\xBF";
  ProbeDirectory dir;
  dir.WriteLandscape(mark + kSystem);
  ProfileSettings settings;
  settings.hostname = "sapold01";  // reached only through the destination's entry
  const std::string profile = ProfileText(settings);
  dir.Write("PRD.P00", mark + profile.substr(profile.find("Destination:")));
  const std::string entry = "DEST=PRD\r\nASHOST=sapprd01\r\nSYSNR=00\r\n";
  dir.Write("SapRfc.PRD", mark + entry);
  dir.Write("SAP Almandor.Gbl", mark + "# GSNG: S1        ::PRD.P00#\r\n"
                                       "# GSNX: S1        :Item=East,"
                                       "Sensor=\"SAP Kelvoran\"\r\n");
  dir.Write("Almandor.Prf", mark + "# Gsng: Landscape   PRD.P00#\r\n");

  const std::string route = "* SapRfc.Ini.......: PRD<\n";
  const std::string summary = "\n# (***) East: NoSystems=1, Processed=1, Failed=0\n\n";
  const struct {
    std::vector<std::string> args;
    std::string out;
  } runs[] = {
      {{"PRD", "FLAVOUR=Tolvane"},
       route + "\n# (PRD) Kelvoran: Info=DB4,Date=20241007,Time=061500,Sid=PRD     "
               "\n> No.of DB-Tables: 41234 #\n> No.of Prim.Keys: 40877 #"
               "\n> No.of Indexes: 61590 #\n"},
      {{"GLOBAL", "S1", "FLAVOUR=Tolvane"}, "\n" + route + summary},
      {{"x", "ITEM=East,FLAVOUR=Tolvane"}, "\n" + route + summary},
  };
  for (const auto& run : runs) {
    SCOPED_TRACE(run.args[0]);
    const ProcessResult result = dir.Run(run.args);
    EXPECT_EQ(result.out, OnConsole(run.out));
    EXPECT_EQ(result.status, 0);
  }
  // SAP's classic library reads the copy: it starts behind the mark.
  if (ProbeUsesClassicLibrary()) {
    EXPECT_EQ(dir.Read("SapRfc.ini"), entry);
  }
}

}  // namespace
}  // namespace kelvoran
