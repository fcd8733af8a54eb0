// The profile tool as people use it: the built binary in a temporary directory, exact standard
// output, standard error, exit status and files.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "driver/profile_password.h"
#include "e2e/probe_runner.h"
#include "support/temp_dir.h"

namespace kelvoran {
namespace {

using ToolResult = ProcessResult;

// Runs the tool in `directory` with a clean environment; `input` is its standard input.
ToolResult RunTool(const std::vector<std::string>& args, const std::filesystem::path& directory,
                   const std::string& input = "") {
  return RunProcess(ProfileToolPath(), args, directory, input);
}

std::set<std::string> FilesIn(const std::filesystem::path& directory) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(directory))
    names.insert(entry.path().filename().string());
  return names;
}

const std::vector<std::string> kSettings = {
    "--destination", "PRD",         "--client", "100",          "--user",
    "smith",         "--language",  "E",        "--mode",       "R/3",
    "--hostname",    "sapprd",      "--sysnr",  "00",           "--gwhost",
    "sapgw",         "--gwservice", "sapgw00",  "--extcompany", "ACME Corp",
};

// `new FILE` with the usual settings, `option` given `value` instead (or left out when the
// value is null).
std::vector<std::string> NewArgs(const std::string& file, const std::string& option = "",
                                 const char* value = "") {
  std::vector<std::string> args = {"new", file};
  for (std::size_t i = 0; i < kSettings.size(); i += 2) {
    if (kSettings[i] == option) {
      if (value == nullptr) continue;
      args.push_back(option);
      args.push_back(value);
    } else {
      args.push_back(kSettings[i]);
      args.push_back(kSettings[i + 1]);
    }
  }
  return args;
}

std::string Stored(const std::string& password) {
  const EncodedPassword encoded = EncodeProfilePassword(password);
  if (!encoded.error.empty()) throw std::runtime_error(encoded.error);
  return encoded.stored;
}

TEST(ProfileToolTest, Encode) {
  const std::string secret = Stored("Secret12") + "\n";
  const std::string p = "kelvoran-profile: ";
  struct Case {
    const char* label;
    std::vector<std::string> args;
    std::string input;
    ToolResult expected;
  } cases[] = {
      {"argument", {"encode", "Secret12"}, "", {secret, "", 0}},
      {"standard input with CR LF", {"encode", "-"}, "Secret12\r\nnext line\n", {secret, "", 0}},
      {"standard input without line end", {"encode", "-"}, "Secret12", {secret, "", 0}},
      {"empty standard input", {"encode", "-"}, "", {"", p + "no password on standard input\n", 2}},
      {"empty first line", {"encode", "-"}, "\nSecret12\n", {"", p + "the password is empty\n", 2}},
      {"no argument",
       {"encode"},
       "",
       {"", p + "encode takes one argument: the password, or - to read it\n", 2}},
      {"too long",
       {"encode", std::string(21, 'a')},
       "",
       {"", p + "the password is longer than 20 characters\n", 2}},
      {"not printable",
       {"encode", "-"},
       "pass\tword\n",
       {"", p + "the password may only hold printable ASCII characters (blank to '~')\n", 2}},
      {"no printable stored form",
       {"encode", "{~g~wm"},
       "",
       {"", p + "this password cannot be stored in printable characters; please choose another\n",
        2}},
      {"an option",
       {"encode", "--x"},
       "",
       {"", p + "unknown option --x; see kelvoran-profile --help\n", 2}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    TempDir dir;
    const ToolResult result = RunTool(c.args, dir.Path(), c.input);
    EXPECT_EQ(result.out, OnConsole(c.expected.out));
    EXPECT_EQ(result.err, OnConsole(c.expected.err));
    EXPECT_EQ(result.status, c.expected.status);
  }
  // What the tool printed is what the probe decodes.
  TempDir dir;
  const ToolResult result = RunTool({"encode", "-"}, dir.Path(), "x y~Z\n");
  ASSERT_EQ(result.status, 0);
  const std::string lineEnd = OnConsole("\n");
  ASSERT_GE(result.out.size(), lineEnd.size());
  EXPECT_EQ(DecodeProfilePassword(result.out.substr(0, result.out.size() - lineEnd.size())).password,
            "x y~Z");
}

TEST(ProfileToolTest, HelpAndUnknownCommands) {
  TempDir dir;
  const ToolResult help = RunTool({"--help"}, dir.Path());
  EXPECT_EQ(help.out.rfind("Usage: kelvoran-profile COMMAND", 0), 0u);
  EXPECT_EQ(help.err, "");
  EXPECT_EQ(help.status, 0);

  const ToolResult bare = RunTool({}, dir.Path());
  EXPECT_EQ(bare.out, "");
  EXPECT_EQ(bare.err, help.out);
  EXPECT_EQ(bare.status, 2);

  const ToolResult unknown = RunTool({"decode", "x"}, dir.Path());
  EXPECT_EQ(unknown.out, "");
  EXPECT_EQ(unknown.err,
            OnConsole("kelvoran-profile: unknown command \"decode\"; see kelvoran-profile --help\n"));
  EXPECT_EQ(unknown.status, 2);
}

TEST(ProfileToolTest, NewWritesAProfileThatChecksAndThatTheProbeReads) {
  TempDir dir;
  const ToolResult written = RunTool(NewArgs("PRD.P00"), dir.Path(), "Secret12\n");
  EXPECT_EQ(written.out, "");
  EXPECT_EQ(written.err, "");
  ASSERT_EQ(written.status, 0);
  EXPECT_EQ(FilesIn(dir.Path()), std::set<std::string>{"PRD.P00"});
  EXPECT_EQ(dir.Read("PRD.P00"),
            "* Kelvoran system profile, written by kelvoran-profile. Key, one blank, value.\r\n"
            "Destination: PRD\r\n"
            "Client.....: 100\r\n"
            "User.......: smith\r\n"
            "Password...: " +
                Stored("Secret12") +
                "\r\n"
                "Language...: E\r\n"
                "Mode.......: R/3\r\n"
                "Hostname...: sapprd\r\n"
                "Sysnr......: 00\r\n"
                "Gwhost.....: sapgw\r\n"
                "Gwservice..: sapgw00\r\n"
                "Extcompany.: ACME Corp\r\n");

  const ToolResult checked = RunTool({"check", "PRD.P00"}, dir.Path());
  EXPECT_EQ(checked.out,
            OnConsole("Destination: PRD\n"
            "Client.....: 100\n"
            "User.......: SMITH\n"
            "Password...: ********\n"
            "Language...: E\n"
            "Mode.......: R/3\n"
            "Hostname...: sapprd\n"
            "Sysnr......: 00\n"
            "Gwhost.....: sapgw\n"
            "Gwservice..: sapgw00\n"
            "Extcompany.: ACME Corp\n"
                      "OK\n"));
  EXPECT_EQ(checked.err, "");
  EXPECT_EQ(checked.status, 0);

  // The probe gets past its profile: whatever it ends with, it is none of the profile errors.
  const ProcessResult probe = RunProcess(ProbePath(), {"PRD", "FLAVOUR=Quellon"}, dir.Path());
  for (const char* number : {"1002", "1003", "1004", "1005", "1006", "1007"}) {
    EXPECT_EQ(probe.out.find(std::string("Error ") + number), std::string::npos) << probe.out;
  }
}

TEST(ProfileToolTest, NewRefusesWhatTheProbeWouldReject) {
  const std::string p = "kelvoran-profile: ";
  struct Case {
    const char* label;
    std::vector<std::string> args;
    std::string input;
    std::string err;
  } cases[] = {
      {"a setting left out", NewArgs("PRD.P00", "--gwhost", nullptr), "Secret12\n",
       p + "missing --gwhost\n"},
      {"a client too short", NewArgs("PRD.P00", "--client", "10"), "Secret12\n",
       p + "--client: \"10\" is too short; the probe needs at least 3 characters\n"},
      {"an empty language", NewArgs("PRD.P00", "--language", ""), "Secret12\n",
       p + "--language: \"\" is too short; the probe needs at least 1 character\n"},
      {"a destination too long", NewArgs("PRD.P00", "--destination", "PRD456789012"), "Secret12\n",
       p + "--destination: the value is longer than 11 characters, the most the probe takes\n"},
      {"a gateway host beyond what a line holds",
       NewArgs("PRD.P00", "--gwhost", std::string(61, 'g').c_str()), "Secret12\n",
       p + "--gwhost: the value is longer than 60 characters, the most the probe takes\n"},
      {"a blank in front", NewArgs("PRD.P00", "--user", " smith"), "Secret12\n",
       p + "--user: the value begins or ends with a blank, which the probe would keep\n"},
      {"a line break", NewArgs("PRD.P00", "--hostname", "sap\nprd"), "Secret12\n",
       p + "--hostname: the value may not hold control characters\n"},
      {"an unknown option",
       {"new", "PRD.P00", "--port", "3300"},
       "Secret12\n",
       p + "unknown option --port; see kelvoran-profile --help\n"},
      {"an option twice",
       [] {
         std::vector<std::string> args = NewArgs("PRD.P00");
         args.push_back("--client=200");
         return args;
       }(),
       "Secret12\n", p + "--client is given twice\n"},
      {"an option without value",
       {"new", "PRD.P00", "--client"},
       "Secret12\n",
       p + "--client needs a value\n"},
      {"no file name",
       {"new"},
       "Secret12\n",
       p + "new needs the name of the profile file to write\n"},
      {"a device name", NewArgs("aux.P00"), "Secret12\n",
       p + "aux.P00 is a Windows device name, not a file\n"},
      {"two file names",
       {"new", "PRD.P00", "QAS.P00"},
       "Secret12\n",
       p + "new takes one file name; \"QAS.P00\" is a second one\n"},
      {"no password", NewArgs("PRD.P00"), "", p + "no password on standard input\n"},
      {"a one-character password", NewArgs("PRD.P00"), "x\n",
       p + "the password is too short; the probe needs at least 2 characters\n"},
      {"a password without printable stored form", NewArgs("PRD.P00"), "{~g~wm\n",
       p + "this password cannot be stored in printable characters; please choose another\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    TempDir dir;
    const ToolResult result = RunTool(c.args, dir.Path(), c.input);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, OnConsole(c.err));
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(FilesIn(dir.Path()), std::set<std::string>{});
  }
}

TEST(ProfileToolTest, NewReplacesAnExistingFileOnlyWithForce) {
  TempDir dir;
  dir.Write("PRD.P00", "old profile\n");
  const ToolResult refused = RunTool(NewArgs("PRD.P00"), dir.Path(), "Secret12\n");
  EXPECT_EQ(refused.err, OnConsole("kelvoran-profile: PRD.P00 exists; use --force to replace it\n"));
  EXPECT_EQ(refused.status, 2);
  EXPECT_EQ(dir.Read("PRD.P00"), "old profile\n");

  std::vector<std::string> args = NewArgs("PRD.P00");
  args.push_back("--force");
  const ToolResult replaced = RunTool(args, dir.Path(), "Other99\n");
  EXPECT_EQ(replaced.err, "");
  EXPECT_EQ(replaced.status, 0);
  EXPECT_EQ(FilesIn(dir.Path()), std::set<std::string>{"PRD.P00"});
  EXPECT_NE(dir.Read("PRD.P00").find("Password...: " + Stored("Other99") + "\r\n"),
            std::string::npos);
}

TEST(ProfileToolTest, CheckShowsWhatTheProbeSees) {
  const std::string settings =
      "Destination: PRD\nClient.....: 10\nUser.......: SMITH\nPassword...: ********\n"
      "Language...: E\nMode.......: R/3\nHostname...: sapprd\nSysnr......: 00\n"
      "Gwhost.....: sapgw\nGwservice..: sapgw00\nExtcompany.: ACME Corp\n";
  const std::string profile =
      "Destination: PRD\nClient.....: 10\nUser.......: smith\nPassword...: " + Stored("Secret12") +
      "\nLanguage...: E\nMode.......: R/3\nHostname...: sapprd\n"
      "Sysnr......: 00\nGwhost.....: sapgw\nGwservice..: sapgw00\n"
      "Extcompany.: ACME Corp\n";
  struct Case {
    const char* label;
    std::string file;
    std::string content;
    std::string out;
  } cases[] = {
      {"a short client", "PRD.P00", profile,
       settings + "Error 1003: Invalid Parameter(s) at PRD.P00 found...\n"},
      {"the message names the file without its directory", "sub/QAS.P01", profile,
       settings + "Error 1003: Invalid Parameter(s) at QAS.P01 found...\n"},
      {"a wrong password stops the reading at its line", "PRD.P00",
       "User.......: smith\nPassword...: " + Stored("Secret12").substr(0, 23) +
           "\nSysnr......: 00\n",
       "Destination: \nClient.....: \nUser.......: SMITH\nPassword...: \nLanguage...: \n"
       "Mode.......: \nHostname...: \nSysnr......: \nGwhost.....: \nGwservice..: \n"
       "Extcompany.: \nError 1004: Invalid Password in Profile PRD.P00 found...\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    TempDir dir;
    std::filesystem::create_directories((dir.Path() / c.file).parent_path());
    std::ofstream(dir.Path() / c.file, std::ios::binary) << c.content;
    const ToolResult result = RunTool({"check", c.file}, dir.Path());
    EXPECT_EQ(result.out, OnConsole(c.out));
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.status, 2);
  }

  TempDir dir;
  const ToolResult missing = RunTool({"check", "NOPE.P00"}, dir.Path());
  EXPECT_EQ(missing.out, "");
  EXPECT_EQ(missing.err, OnConsole("kelvoran-profile: cannot open NOPE.P00\n"));
  EXPECT_EQ(missing.status, 2);
}

}  // namespace
}  // namespace kelvoran
