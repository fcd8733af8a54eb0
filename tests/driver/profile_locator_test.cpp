#include "driver/profile_locator.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/clock.h"
#include "platform/console.h"
#include "run_context.h"
#include "support/memory_file_system.h"

namespace kelvoran {
namespace {

const std::string kPathFile = "C:\\PRTG_Path.Txt";
const std::string kExeXml = "PRTG Network Monitor\\Custom Sensors\\ExeXml\\";
const std::string kCustom = "Custom Sensors\\ExeXml\\";
const std::string kProgramme = "\\Programme\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\";
const std::string kProgramFiles = "\\Program Files\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\";
const std::string kProgramFilesX86 =
    "\\Program Files (x86)\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\";

struct LocatorFixture {
  CapturedConsole console;
  MemoryFileSystem files;
  FixedClock clock{"14:03:07"};
  RunContext ctx{console, files, clock};
};

// A profile file's content names its path, so a test sees which file was left open.
std::string ContentOf(const std::string& path) { return "profile at " + path + "\n"; }

std::string ReadAll(std::FILE* file) {
  std::string text;
  int c;
  while ((c = std::fgetc(file)) != EOF) text += static_cast<char>(c);
  return text;
}

struct Expected {
  std::string error;  // empty when the profile is found
  std::string directory;
  std::string name;
  bool globalRun;
  std::vector<std::string> probes;
};

struct Case {
  const char* label;
  HostFlavour flavour;
  std::string profileName;                                 // as the command line left it
  std::vector<std::pair<std::string, std::string>> files;  // path file and other non-profiles
  std::vector<std::string> profiles;                       // profile files that exist
  Expected expected;
};

void LocateAndCheck(const Case& c) {
  SCOPED_TRACE(c.label);
  LocatorFixture t;
  for (const auto& [path, content] : c.files) t.files.Add(path, content);
  for (const std::string& path : c.profiles) t.files.Add(path, ContentOf(path));
  t.ctx.hostFlavour = c.flavour;
  t.ctx.profileName = c.profileName;

  const FatalError error = LocateProfile(t.ctx);

  EXPECT_EQ(error.value_or(""), c.expected.error);
  EXPECT_EQ(t.files.Probes(), c.expected.probes);
  EXPECT_EQ(t.ctx.globalRun, c.expected.globalRun);
  EXPECT_EQ(t.ctx.profileName, c.expected.name);
  if (error) {
    EXPECT_EQ(t.ctx.profileFile, nullptr);
    return;
  }
  EXPECT_EQ(t.ctx.profileDirectory, c.expected.directory);
  EXPECT_EQ(t.ctx.profilePath, c.expected.directory + c.expected.name);
  ASSERT_NE(t.ctx.profileFile, nullptr);
  EXPECT_EQ(ReadAll(t.ctx.profileFile.get()), ContentOf(t.ctx.profilePath));
}

TEST(ProfileLocatorTest, MakerFlavoursReadWhereTheCommandLineSays) {
  const Case cases[] = {
      {"directory with backslashes",
       HostFlavour::Quellon,
       "D:\\cfg\\PRD.P00",
       {},
       {"D:\\cfg\\PRD.P00", "PRD.P00"},
       {"", "D:\\cfg\\", "PRD.P00", false, {"D:\\cfg\\PRD.P00"}}},
      {"missing file shows the full path",
       HostFlavour::Vistrel,
       "D:\\cfg\\PRD.P00",
       {},
       {"PRD.P00"},
       {"Error 1002: Profile D:\\cfg\\PRD.P00 is missing...",
        "",
        "PRD.P00",
        false,
        {"D:\\cfg\\PRD.P00"}}},
      {"no directory: the current one",
       HostFlavour::Brennick,
       "PRD.P00",
       {},
       {"PRD.P00"},
       {"", "", "PRD.P00", false, {"PRD.P00"}}},
      {"directory with slashes",
       HostFlavour::Tolvane,
       "/etc/kelvoran/PRD.P01",
       {},
       {"/etc/kelvoran/PRD.P01"},
       {"", "/etc/kelvoran/", "PRD.P01", false, {"/etc/kelvoran/PRD.P01"}}},
      {"mixed separators split at the last one",
       HostFlavour::Quellon,
       "cfg\\sub/PRD.P00",
       {},
       {"cfg\\sub/PRD.P00"},
       {"", "cfg\\sub/", "PRD.P00", false, {"cfg\\sub/PRD.P00"}}},
      {"a leading backslash alone is not split",
       HostFlavour::Quellon,
       "\\PRD.P00",
       {},
       {"\\PRD.P00"},
       {"", "", "\\PRD.P00", false, {"\\PRD.P00"}}},
      {"a leading slash alone is not split",
       HostFlavour::Quellon,
       "/PRD.P00",
       {},
       {"/PRD.P00"},
       {"", "", "/PRD.P00", false, {"/PRD.P00"}}},
      {"global in a directory",
       HostFlavour::Quellon,
       "D:\\cfg\\global.P00",
       {},
       {"D:\\cfg\\SAP Almandor.Gbl"},
       {"", "D:\\cfg\\", "SAP Almandor.Gbl", true, {"D:\\cfg\\SAP Almandor.Gbl"}}},
      {"directories longer than the old fixed fields are kept whole",
       HostFlavour::Quellon,
       "D:\\" + std::string(200, 'd') + "\\PRD.P00",
       {},
       {"D:\\" + std::string(200, 'd') + "\\PRD.P00"},
       {"",
        "D:\\" + std::string(200, 'd') + "\\",
        "PRD.P00",
        false,
        {"D:\\" + std::string(200, 'd') + "\\PRD.P00"}}},
  };
  for (const Case& c : cases) LocateAndCheck(c);
}

TEST(ProfileLocatorTest, ExeXmlWithoutPathFileTriesCurrentThenUsualFolders) {
  const Case cases[] = {
      {"current directory; the command line's directory is dropped",
       HostFlavour::ExeXml,
       "D:\\cfg\\PRD.P00",
       {},
       {"PRD.P00", "D:\\cfg\\PRD.P00"},
       {"", "", "PRD.P00", false, {kPathFile, "PRD.P00"}}},
      {"second usual folder",
       HostFlavour::ExeXml,
       "PRD.P00",
       {},
       {kProgramFiles + "PRD.P00", kProgramFilesX86 + "PRD.P00"},
       {"",
        kProgramFiles,
        "PRD.P00",
        false,
        {kPathFile, "PRD.P00", kProgramme + "PRD.P00", kProgramFiles + "PRD.P00"}}},
      {"third usual folder",
       HostFlavour::ExeXml,
       "PRD.P00",
       {},
       {kProgramFilesX86 + "PRD.P00"},
       {"",
        kProgramFilesX86,
        "PRD.P00",
        false,
        {kPathFile, "PRD.P00", kProgramme + "PRD.P00", kProgramFiles + "PRD.P00",
         kProgramFilesX86 + "PRD.P00"}}},
      {"nowhere: the message shows only the file name",
       HostFlavour::ExeXml,
       "D:\\cfg\\PRD.P00",
       {},
       {"D:\\cfg\\PRD.P00"},
       {"Error 1002: Profile PRD.P00 is missing...",
        "",
        "PRD.P00",
        false,
        {kPathFile, "PRD.P00", kProgramme + "PRD.P00", kProgramFiles + "PRD.P00",
         kProgramFilesX86 + "PRD.P00"}}},
      {"a leading backslash stays in every probe",
       HostFlavour::ExeXml,
       "\\PRD.P00",
       {},
       {kProgramme + "\\PRD.P00"},
       {"", kProgramme, "\\PRD.P00", false, {kPathFile, "\\PRD.P00", kProgramme + "\\PRD.P00"}}},
      {"global listing",
       HostFlavour::ExeXml,
       "global.P00",
       {},
       {"SAP Almandor.Gbl"},
       {"", "", "SAP Almandor.Gbl", true, {kPathFile, "SAP Almandor.Gbl"}}},
  };
  for (const Case& c : cases) LocateAndCheck(c);
}

TEST(ProfileLocatorTest, ExeXmlBelowTheFolderOfThePathFile) {
  const std::string prtg = "C:\\PRTG\\";
  const Case cases[] = {
      {"PRTG's sub-folder; CR LF line end; no trailing backslash",
       HostFlavour::ExeXml,
       "PRD.P00",
       {{kPathFile, "C:\\PRTG\r\n"}},
       {prtg + kExeXml + "PRD.P00"},
       {"",
        prtg + kExeXml,
        "PRD.P00",
        false,
        {kPathFile, prtg + kExeXml + "PRD.P00", prtg + kExeXml + kCustom + "PRD.P00",
         prtg + kExeXml + "PRD.P00"}}},
      {"the second sub-folder is tried on the folder as it stands",
       HostFlavour::ExeXml,
       "PRD.P00",
       {{kPathFile, "C:\\PRTG"}},
       {prtg + kCustom + "PRD.P00"},
       {"",
        prtg + kCustom,
        "PRD.P00",
        false,
        {kPathFile, prtg + kExeXml + "PRD.P00", prtg + kCustom + "PRD.P00",
         prtg + kCustom + "PRD.P00"}}},
      {"both sub-folders in turn",
       HostFlavour::ExeXml,
       "PRD.P00",
       {{kPathFile, "C:\\PRTG\\\n"}},
       {prtg + kExeXml + "PRD.P00", prtg + kExeXml + kCustom + "PRD.P00"},
       {"",
        prtg + kExeXml + kCustom,
        "PRD.P00",
        false,
        {kPathFile, prtg + kExeXml + "PRD.P00", prtg + kExeXml + kCustom + "PRD.P00",
         prtg + kExeXml + kCustom + "PRD.P00"}}},
      {"the folder itself",
       HostFlavour::ExeXml,
       "PRD.P00",
       {{kPathFile, "C:\\PRTG\\\n"}},
       {prtg + "PRD.P00"},
       {"",
        prtg,
        "PRD.P00",
        false,
        {kPathFile, prtg + kExeXml + "PRD.P00", prtg + kCustom + "PRD.P00", prtg + "PRD.P00"}}},
      {"missing below the folder: no fallback to the current or the usual folders",
       HostFlavour::ExeXml,
       "D:\\cfg\\PRD.P00",
       {{kPathFile, "C:\\PRTG\r\n"}},
       {"PRD.P00", kProgramFiles + "PRD.P00", "D:\\cfg\\PRD.P00"},
       {"Error 1002: Profile PRD.P00 is missing...",
        "",
        "PRD.P00",
        false,
        {kPathFile, prtg + kExeXml + "PRD.P00", prtg + kCustom + "PRD.P00", prtg + "PRD.P00"}}},
      {"the last folder line counts; comments are skipped",
       HostFlavour::ExeXml,
       "PRD.P00",
       {{kPathFile,
         "# where PRTG lives\r\nC:\\old\r\nmoved in 2021 to:\r\nE:\\PRTG\r\n-- end\r\n"}},
       {"E:\\PRTG\\PRD.P00"},
       {"",
        "E:\\PRTG\\",
        "PRD.P00",
        false,
        {kPathFile, "E:\\PRTG\\" + kExeXml + "PRD.P00", "E:\\PRTG\\" + kCustom + "PRD.P00",
         "E:\\PRTG\\PRD.P00"}}},
      {"no folder line: the root of the current drive",
       HostFlavour::ExeXml,
       "PRD.P00",
       {{kPathFile, "PRTG\nrem nothing here\n\n"}},
       {"\\PRD.P00"},
       {"",
        "\\",
        "PRD.P00",
        false,
        {kPathFile, "\\" + kExeXml + "PRD.P00", "\\" + kCustom + "PRD.P00", "\\PRD.P00"}}},
      {"global listing below the folder",
       HostFlavour::ExeXml,
       "global.P00",
       {{kPathFile, "C:\\PRTG\n"}},
       {prtg + kExeXml + "SAP Almandor.Gbl"},
       {"",
        prtg + kExeXml,
        "SAP Almandor.Gbl",
        true,
        {kPathFile, prtg + kExeXml + "SAP Almandor.Gbl",
         prtg + kExeXml + kCustom + "SAP Almandor.Gbl", prtg + kExeXml + "SAP Almandor.Gbl"}}},
  };
  for (const Case& c : cases) LocateAndCheck(c);
}

// Which lines of the path file name a folder: a leading '\', ':' second or '\' third.
TEST(ProfileLocatorTest, FolderLinesOfThePathFile) {
  const std::string longLine = "D:\\" + std::string(120, 'p');
  struct Row {
    const char* label;
    std::string content;
    std::string firstProbe;  // the folder as the first sub-folder probe shows it
  } rows[] = {
      {"drive and backslash", "D:\\PRTG\n", "D:\\PRTG\\"},
      {"drive without backslash", "D:PRTG\n", "D:PRTG\\"},
      {"server share", "\\\\server\\share\n", "\\\\server\\share\\"},
      {"root folder", "\\PRTG\n", "\\PRTG\\"},
      {"backslash third", "ab\\cd\n", "ab\\cd\\"},
      {"a lone CR at the end", "D:\\PRTG\r", "D:\\PRTG\\"},
      {"saved by Notepad, with a byte order mark", "\xEF\xBB\xBF" "D:PRTG\r\n", "D:PRTG\\"},
      {"too short for any test", "D\n", "\\"},
      {"one character short of the third test", "ab\n", "\\"},
      {"relative folder", "PRTG\\x\n", "\\"},
      {"a line of 123 characters is read as 99 and 24", longLine + "\n",
       longLine.substr(0, 99) + "\\"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.label);
    LocatorFixture t;
    t.files.Add(kPathFile, row.content);
    t.ctx.profileName = "PRD.P00";
    EXPECT_EQ(LocateProfile(t.ctx), FatalError("Error 1002: Profile PRD.P00 is missing..."));
    ASSERT_GE(t.files.Probes().size(), 2u);
    EXPECT_EQ(t.files.Probes()[1], row.firstProbe + kExeXml + "PRD.P00");
  }
}

}  // namespace
}  // namespace kelvoran
