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

#ifndef _WIN32
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#endif

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

// A profile written by hand (LF line ends), with the client and password given.
std::string HandWrittenProfile(const std::string& client, const std::string& password) {
  return "Destination: PRD\nClient.....: " + client + "\nUser.......: smith\nPassword...: " +
         Stored(password) +
         "\nLanguage...: E\nMode.......: R/3\nHostname...: sapprd\n"
         "Sysnr......: 00\nGwhost.....: sapgw\nGwservice..: sapgw00\n"
         "Extcompany.: ACME Corp\n";
}

// The settings check shows for that profile.
std::string CheckedSettings(const std::string& client) {
  return "Destination: PRD\nClient.....: " + client +
         "\nUser.......: SMITH\nPassword...: ********\n"
         "Language...: E\nMode.......: R/3\nHostname...: sapprd\nSysnr......: 00\n"
         "Gwhost.....: sapgw\nGwservice..: sapgw00\nExtcompany.: ACME Corp\n";
}

TEST(ProfileToolTest, CheckShowsWhatTheProbeSees) {
  const std::string settings = CheckedSettings("10");
  const std::string profile = HandWrittenProfile("10", "Secret12");
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

// The stored password of the profile `content` (the value of its password line).
std::string StoredPasswordOf(const std::string& content) {
  const std::string key = "Password...: ";
  const std::size_t at = content.find(key);
  if (at == std::string::npos) return "";
  return content.substr(at + key.size(), content.find("\r\n", at) - at - key.size());
}

// `new NAME` writes the file the probe opens for NAME, and says so when that is another name.
TEST(ProfileToolTest, NewWritesTheFileTheProbeReads) {
  const std::string p = "kelvoran-profile: ";
  struct Case {
    const char* name;
    const char* written;
    std::string out;
    std::string err;
  } cases[] = {
      {"PRD", "PRD.P00", "PRD written as PRD.P00, the file the probe reads for it\n", ""},
      {"PRD.P01", "PRD.P01", "", ""},
      {"A.B", "A.B.P00", "A.B written as A.B.P00, the file the probe reads for it\n", ""},
      {"global", "global.P00", "global written as global.P00, the file the probe reads for it\n",
       p + "warning: kelvoran global.P00 starts a global run and never reads this file; only a "
           "global run's listing can name it\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    const ToolResult result = RunTool(NewArgs(c.name), dir.Path(), "Secret12\n");
    EXPECT_EQ(result.out, OnConsole(c.out));
    EXPECT_EQ(result.err, OnConsole(c.err));
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(FilesIn(dir.Path()), std::set<std::string>{c.written});
  }
  // The probe finds it by the name typed.
  TempDir dir;
  ASSERT_EQ(RunTool(NewArgs("PRD"), dir.Path(), "Secret12\n").status, 0);
  const ProcessResult probe = RunProcess(ProbePath(), {"PRD", "FLAVOUR=Quellon"}, dir.Path());
  EXPECT_EQ(probe.out.find("Error 1002"), std::string::npos) << probe.out;
}

// From a file or a pipe the password is the first line with its line end, and nothing else,
// removed; a blank that cmd's echo leaves before the line end is kept, and warned about.
TEST(ProfileToolTest, PasswordFromStandardInput) {
  const std::string p = "kelvoran-profile: ";
  const std::string endsWithBlank =
      p + "warning: the password ends with a blank, which is part of it\n";
  struct Case {
    const char* label;
    std::string input;
    const char* password;  // stored; null when refused
    std::string err;
  } cases[] = {
      {"LF", "Secret12\n", "Secret12", ""},
      {"CR LF, the second line not read", "Secret12\r\nOther99\r\n", "Secret12", ""},
      {"no line end", "Secret12", "Secret12", ""},
      {"echo Secret12 > pw.txt in cmd", "Secret12 \r\n", "Secret12 ", endsWithBlank},
      {"a blank in front", " Secret12\n", " Secret12",
       p + "warning: the password begins with a blank, which is part of it\n"},
      {"saved by Notepad, with a byte order mark", "\xEF\xBB\xBFSecret12\r\n", "Secret12", ""},
      {"a lone CR is no line end", "Secret12\r",
       nullptr, p + "the password may only hold printable ASCII characters (blank to '~')\n"},
      {"an empty first line", "\nSecret12\n", nullptr, p + "the password is empty\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    TempDir dir;
    const ToolResult result = RunTool(NewArgs("PRD.P00"), dir.Path(), c.input);
    EXPECT_EQ(result.err, OnConsole(c.err));
    EXPECT_EQ(result.status, c.password != nullptr ? 0 : 2);
    if (c.password == nullptr) {
      EXPECT_FALSE(dir.Exists("PRD.P00"));
      continue;
    }
    EXPECT_EQ(StoredPasswordOf(dir.Read("PRD.P00")), Stored(c.password));
  }
}

// What check warns about: a name by which the probe would not find the file, a password with
// a blank at an end. The profile is usable all the same.
TEST(ProfileToolTest, CheckWarnsOfWhatWillNotWorkAsMeant) {
  struct Case {
    const char* label;
    std::string file;
    std::string password;
    std::string warnings;
  } cases[] = {
      {"nothing to warn of", "PRD.P00", "Secret12", ""},
      {"no extension", "PRD", "Secret12",
       "Warning: kelvoran PRD reads PRD.P00, not this file; name it PRD.P00 (a global run's "
       "listing may name it as it is)\n"},
      {"in a folder, an extension of two letters", "sub/QAS.P1", "Secret12",
       "Warning: kelvoran QAS.P1 reads QAS.P1.P00, not this file; name it QAS.P1.P00 (a global "
       "run's listing may name it as it is)\n"},
      {"GLOBAL", "Global.P00", "Secret12",
       "Warning: kelvoran Global.P00 starts a global run and never reads this file; only a "
       "global run's listing can name it\n"},
      {"blanks at both ends of the password", "PRD.P00", " Secret12 ",
       "Warning: the password begins with a blank, which is part of it\n"
       "Warning: the password ends with a blank, which is part of it\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    TempDir dir;
    std::filesystem::create_directories((dir.Path() / c.file).parent_path());
    std::ofstream(dir.Path() / c.file, std::ios::binary) << HandWrittenProfile("100", c.password);
    const ToolResult result = RunTool({"check", c.file}, dir.Path());
    EXPECT_EQ(result.out, OnConsole(CheckedSettings("100") + c.warnings + "OK\n"));
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.status, 0);
  }
}

#ifndef _WIN32

// The tool on a pseudo-terminal, as a person at a console runs it: what the terminal shows,
// the exit status, and whether the terminal's echo is on again afterwards.
class ConsoleSession {
 public:
  ConsoleSession(const std::vector<std::string>& args, const std::filesystem::path& directory) {
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0)
      throw std::runtime_error("no pseudo-terminal");
    const std::string slave = ptsname(master_);
    const std::string program = ProfileToolPath();
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    child_ = fork();
    if (child_ < 0) throw std::runtime_error("fork failed");
    if (child_ == 0) {
      // A session of its own, with the terminal as its console and standard streams.
      setsid();
      const int terminal = open(slave.c_str(), O_RDWR);
      if (terminal < 0) _exit(127);
      dup2(terminal, 0);
      dup2(terminal, 1);
      dup2(terminal, 2);
      ExecInCleanEnvironment(program.c_str(), argv.data(), directory.c_str());
    }
  }
  ~ConsoleSession() {
    if (child_ > 0) {
      kill(child_, SIGKILL);
      waitpid(child_, nullptr, 0);
    }
    if (master_ >= 0) close(master_);
  }
  ConsoleSession(const ConsoleSession&) = delete;
  ConsoleSession& operator=(const ConsoleSession&) = delete;

  // Reads what the terminal shows until it shows `text`; false after 20 s without it.
  bool WaitFor(const std::string& text) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (shown_.find(text, seen_) == std::string::npos) {
      if (std::chrono::steady_clock::now() > until || !ReadSome(200)) return false;
    }
    seen_ = shown_.find(text, seen_) + text.size();
    return true;
  }
  void Type(const std::string& text) {
    if (write(master_, text.data(), text.size()) != static_cast<ssize_t>(text.size()))
      throw std::runtime_error("cannot type on the pseudo-terminal");
  }
  // Waits for the end of the tool: its exit status, or 128 + the signal that ended it.
  int Wait() {
    int status = 0;
    while (ReadSome(100)) {
    }
    waitpid(child_, &status, 0);
    child_ = -1;
    while (ReadSome(0)) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }
  bool EchoIsOn() const {
    struct termios settings;
    return tcgetattr(master_, &settings) == 0 && (settings.c_lflag & ECHO) != 0;
  }
  const std::string& Shown() const { return shown_; }

 private:
  // False once nothing more comes within `milliseconds` or the terminal's other end is closed.
  bool ReadSome(int milliseconds) {
    pollfd ready{master_, POLLIN, 0};
    if (poll(&ready, 1, milliseconds) <= 0) return false;
    char buffer[256];
    const ssize_t got = read(master_, buffer, sizeof buffer);
    if (got <= 0) return false;
    shown_.append(buffer, static_cast<std::size_t>(got));
    return true;
  }

  int master_ = -1;
  pid_t child_ = -1;
  std::string shown_;
  std::size_t seen_ = 0;
};

// At a console the password is typed twice and never shown; the console's echo is on again
// after the tool, whether it wrote the profile, refused, or was interrupted while waiting.
TEST(ProfileToolTest, PasswordTypedAtTheConsoleIsNotShown) {
  struct Case {
    const char* label;
    std::vector<std::string> typed;  // each after its prompt; "\x03" is Ctrl+C
    int status;
    const char* refusal;
  } cases[] = {
      {"typed twice alike", {"Secret12\r", "Secret12\r"}, 0, nullptr},
      {"typed twice, differently", {"Secret12\r", "Secret13\r"}, 2,
       "kelvoran-profile: the two passwords typed differ"},
      {"interrupted while typing", {"Secr\x03"}, 128 + SIGINT, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    TempDir dir;
    ConsoleSession session(NewArgs("PRD"), dir.Path());
    const char* prompts[] = {"Password: ", "Password again: "};
    for (std::size_t i = 0; i < c.typed.size(); ++i) {
      ASSERT_TRUE(session.WaitFor(prompts[i])) << session.Shown();
      session.Type(c.typed[i]);
    }
    EXPECT_EQ(session.Wait(), c.status) << session.Shown();
    EXPECT_EQ(session.Shown().find("Secr"), std::string::npos) << session.Shown();
    EXPECT_TRUE(session.EchoIsOn());
    if (c.refusal != nullptr) {
      EXPECT_NE(session.Shown().find(c.refusal), std::string::npos) << session.Shown();
    }
    if (c.status == 0) {
      EXPECT_EQ(StoredPasswordOf(dir.Read("PRD.P00")), Stored("Secret12"));
    } else {
      EXPECT_FALSE(dir.Exists("PRD.P00"));
    }
  }
}

#endif

}  // namespace
}  // namespace kelvoran
