// kelvoran-profile: encodes profile passwords, writes new system profiles and checks existing
// ones exactly as the probe reads them.
#include <cerrno>
#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "driver/command_line.h"
#include "driver/profile_locator.h"
#include "driver/profile_password.h"
#include "driver/system_profile.h"
#include "platform/byte_order_mark.h"
#include "platform/clock.h"
#include "platform/console.h"
#include "platform/device_names.h"
#include "platform/file_system.h"
#include "platform/unseen_input.h"
#include "run_context.h"

namespace kelvoran {
namespace {

constexpr int kToolOk = 0;
constexpr int kToolError = 2;

constexpr const char* kUsage =
    "Usage: kelvoran-profile COMMAND ...\n"
    "\n"
    "Writes and checks the system profiles (.P00 files) that the Kelvoran probe reads.\n"
    "\n"
    "Commands:\n"
    "  encode PASSWORD   print the stored form of PASSWORD (24 characters)\n"
    "  encode -          the same, with the password read as for new\n"
    "  new FILE OPTIONS  write a complete profile (FILE without an extension gets .P00, as the\n"
    "                    probe reads it); the password is typed twice at the console without\n"
    "                    being shown, or else read from the first line of standard input\n"
    "  check FILE        read FILE as the probe does, print its settings (the password masked),\n"
    "                    warnings, and OK or the probe's error message\n"
    "  --help            this text\n"
    "\n"
    "Options of new (all required except --force):\n"
    "  --destination D   RFC destination (3 to 11 characters)\n"
    "  --client C        SAP client (3 to 11 characters)\n"
    "  --user U          logon user (2 to 47 characters; the probe reads it in upper case)\n"
    "  --language L      logon language (1 to 31 characters)\n"
    "  --mode M          R/3, or R/2 for an R/2 connection (3 to 31 characters)\n"
    "  --hostname H      application server host (2 to 47 characters)\n"
    "  --sysnr N         system number (2 to 31 characters)\n"
    "  --gwhost G        gateway host (2 to 60 characters)\n"
    "  --gwservice S     gateway service (2 to 31 characters)\n"
    "  --extcompany E    company name (2 to 60 characters)\n"
    "  --force           replace FILE if it exists\n"
    "\n"
    "Passwords are 2 to 20 printable ASCII characters. Prefer typing them at the console, or a\n"
    "pipe: a password on the command line can be seen by other users of the machine. From\n"
    "standard input only the line end (LF or CR LF) is removed; a blank before it is part of\n"
    "the password (cmd's \"echo Secret12 > file\" writes one).\n"
    "\n"
    "Exit status: 0 done (check: the profile is usable), 2 refused or not usable.\n";

constexpr const char* kFileComment =
    "* Kelvoran system profile, written by kelvoran-profile. Key, one blank, value.";

/// Shown in place of the password by "check".
constexpr const char* kPasswordMask = "********";

/// The options of "new", in the order the profile lists its settings, with their keys.
struct NewOption {
  const char* option;
  const char* key;
};
constexpr NewOption kNewOptions[] = {
    {"--destination", "Destination:"}, {"--client", "Client.....:"},
    {"--user", "User.......:"},        {"--language", "Language...:"},
    {"--mode", "Mode.......:"},        {"--hostname", "Hostname...:"},
    {"--sysnr", "Sysnr......:"},       {"--gwhost", "Gwhost.....:"},
    {"--gwservice", "Gwservice..:"},   {"--extcompany", "Extcompany.:"},
};
constexpr const char* kPasswordKey = "Password...:";

/// The order in which "check" shows the settings (the password after the user, as written).
constexpr const char* kShownKeys[] = {
    "Destination:", "Client.....:", "User.......:", "Password...:", "Language...:", "Mode.......:",
    "Hostname...:", "Sysnr......:", "Gwhost.....:", "Gwservice..:", "Extcompany.:",
};

int Refuse(const std::string& message) {
  std::fprintf(stderr, "kelvoran-profile: %s\n", message.c_str());
  return kToolError;
}

void Print(const std::string& text) { std::fwrite(text.data(), 1, text.size(), stdout); }

const ProfileSetting& SettingFor(std::string_view key) {
  for (const ProfileSetting& setting : ProfileSettings()) {
    if (key == setting.key) return setting;
  }
  return ProfileSettings().front();  // not reached: every key above is a profile key
}

// The first line of standard input without its line end (LF or CR LF) and without a byte
// order mark in front of it, nothing else taken away; nothing when the input is empty.
std::optional<std::string> ReadFirstInputLine() {
  std::string line;
  int c;
  while ((c = std::getchar()) != EOF && c != '\n') line += static_cast<char>(c);
  if (line.empty() && c == EOF) return std::nullopt;
  if (c == '\n' && !line.empty() && line.back() == '\r') line.pop_back();
  return std::string(WithoutByteOrderMark(line));
}

// A line typed at the console after `prompt`, neither shown nor kept anywhere.
std::optional<std::string> TypeUnseen(const char* prompt, std::string& problem) {
  const UnseenLine typed = ReadUnseenLine(prompt);
  if (!typed.unseen) {
    problem = "the console's echo cannot be switched off; give the password on standard input";
  } else if (!typed.line) {
    problem = "no password typed";
  }
  return typed.line;
}

// The password for "new" and "encode -": typed twice at the console without being shown, so
// that a typing error cannot slip through unseen, or the first line of standard input.
std::optional<std::string> ReadPassword(std::string& problem) {
  if (!StandardInputIsConsole()) {
    std::optional<std::string> line = ReadFirstInputLine();
    if (!line) problem = "no password on standard input";
    return line;
  }
  std::optional<std::string> password = TypeUnseen("Password: ", problem);
  if (!password) return std::nullopt;
  const std::optional<std::string> again = TypeUnseen("Password again: ", problem);
  if (!again) return std::nullopt;
  if (*again != *password) {
    problem = "the two passwords typed differ";
    return std::nullopt;
  }
  return password;
}

// Why the probe might not do what the profile at `path` is meant for, although it can read
// it: a name by which it would not find the file, or a password with a blank at an end.
std::vector<std::string> Warnings(const std::string& path, const std::string& password) {
  std::vector<std::string> warnings;
  const std::string name = path.substr(DirectoryPartLength(path));
  if (ToUpperAscii(WithProfileExtension(name)) == "GLOBAL.P00") {
    warnings.push_back("kelvoran " + name +
                       " starts a global run and never reads this file; only a global run's "
                       "listing can name it");
  } else if (WithProfileExtension(name) != name) {
    warnings.push_back("kelvoran " + name + " reads " + WithProfileExtension(name) +
                       ", not this file; name it " + WithProfileExtension(name) +
                       " (a global run's listing may name it as it is)");
  }
  if (!password.empty() && password.front() == ' ')
    warnings.push_back("the password begins with a blank, which is part of it");
  if (!password.empty() && password.back() == ' ')
    warnings.push_back("the password ends with a blank, which is part of it");
  return warnings;
}

// A path is free when opening it fails because nothing is there; any other failure (no
// permission, say) counts as taken, so that nothing is ever replaced unasked.
bool PathIsFree(const std::string& path) {
  errno = 0;
  FilePtr file(std::fopen(path.c_str(), "rb"));
  return !file && errno == ENOENT;
}

// The name the probe shows in its messages: the file name without its directory.
std::string ShownName(const std::string& path) { return path.substr(DirectoryPartLength(path)); }

// Why the probe would not take `value` for the setting written with `option`, or nothing.
std::optional<std::string> ValueProblem(std::string_view option, const ProfileSetting& setting,
                                        const std::string& value) {
  const std::string name(option);
  for (char c : value) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F) return name + ": the value may not hold control characters";
  }
  if (!value.empty() && (value.front() == ' ' || value.back() == ' '))
    return name + ": the value begins or ends with a blank, which the probe would keep";
  const std::size_t longest =
      setting.capacity < kProfileValueLimit ? setting.capacity : kProfileValueLimit;
  if (value.size() < setting.minimum)
    return name + ": \"" + value + "\" is too short; the probe needs at least " +
           std::to_string(setting.minimum) + " character" + (setting.minimum == 1 ? "" : "s");
  if (value.size() > longest)
    return name + ": the value is longer than " + std::to_string(longest) +
           " characters, the most the probe takes";
  return std::nullopt;
}

int Encode(const std::vector<std::string>& args) {
  if (args.size() != 1) return Refuse("encode takes one argument: the password, or - to read it");
  std::string password = args[0];
  if (password == "-") {
    std::string problem;
    std::optional<std::string> read = ReadPassword(problem);
    if (!read) return Refuse(problem);
    password = *read;
  } else if (password.rfind("--", 0) == 0) {
    return Refuse("unknown option " + password + "; see kelvoran-profile --help");
  }
  const EncodedPassword encoded = EncodeProfilePassword(password);
  if (!encoded.error.empty()) return Refuse(encoded.error);
  Print(encoded.stored + "\n");
  return kToolOk;
}

// Writes `content` to `path`, which must not exist yet; false on any failure, with nothing
// left behind.
bool WriteNewFile(FileSystem& files, const std::string& path, const std::string& content) {
  FilePtr file = files.Open(path, "wb");
  if (!file) return false;
  const bool written =
      std::fwrite(content.data(), 1, content.size(), file.get()) == content.size() &&
      std::fflush(file.get()) == 0;
  const bool closed = std::fclose(file.release()) == 0;
  if (written && closed) return true;
  files.Remove(path);
  return false;
}

int New(const std::vector<std::string>& args) {
  std::optional<std::string> path;
  std::map<std::string, std::string> values;
  bool force = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--force") {
      force = true;
      continue;
    }
    if (arg.rfind("--", 0) != 0) {
      if (path) return Refuse("new takes one file name; \"" + arg + "\" is a second one");
      path = arg;
      continue;
    }
    std::string option = arg;
    std::optional<std::string> value;
    const std::size_t equals = arg.find('=');
    if (equals != std::string::npos) {
      option = arg.substr(0, equals);
      value = arg.substr(equals + 1);
    }
    bool known = false;
    for (const NewOption& o : kNewOptions) known = known || option == o.option;
    if (!known) return Refuse("unknown option " + option + "; see kelvoran-profile --help");
    if (!value) {
      if (i + 1 >= args.size()) return Refuse(option + " needs a value");
      value = args[++i];
    }
    if (values.count(option) != 0) return Refuse(option + " is given twice");
    values[option] = *value;
  }
  if (!path) return Refuse("new needs the name of the profile file to write");
  // Written under the name the probe opens for it: "new PRD" writes PRD.P00.
  const std::string named = *path;
  path = WithProfileExtension(named);
  // Opening a device to see whether the name is free may never return.
  if (IsReservedDeviceName(*path)) return Refuse(*path + " is a Windows device name, not a file");
  for (const NewOption& o : kNewOptions) {
    const auto value = values.find(o.option);
    if (value == values.end()) return Refuse(std::string("missing ") + o.option);
    if (std::optional<std::string> problem =
            ValueProblem(o.option, SettingFor(o.key), value->second))
      return Refuse(*problem);
  }
  if (!force && !PathIsFree(*path)) return Refuse(*path + " exists; use --force to replace it");

  std::string problem;
  std::optional<std::string> password = ReadPassword(problem);
  if (!password) return Refuse(problem);
  if (password->empty()) return Refuse("the password is empty");
  const ProfileSetting& passwordSetting = SettingFor(kPasswordKey);
  if (password->size() < passwordSetting.minimum)
    return Refuse("the password is too short; the probe needs at least " +
                  std::to_string(passwordSetting.minimum) + " characters");
  const EncodedPassword encoded = EncodeProfilePassword(*password);
  if (!encoded.error.empty()) return Refuse(encoded.error);

  std::string content = std::string(kFileComment) + "\r\n";
  for (const NewOption& o : kNewOptions) {
    content += std::string(o.key) + " " + values[o.option] + "\r\n";
    if (std::string_view(o.key) == "User.......:")
      content += std::string(kPasswordKey) + " " + encoded.stored + "\r\n";
  }

  // Written next to the target and renamed over it, so that the profile is there whole or not
  // at all.
  DiskFileSystem files;
  std::string temporary;
  for (int n = 0; n < 100 && temporary.empty(); ++n) {
    const std::string candidate = *path + ".new" + (n == 0 ? "" : std::to_string(n));
    if (PathIsFree(candidate)) temporary = candidate;
  }
  if (temporary.empty()) return Refuse("cannot find a free temporary name next to " + *path);
  if (!WriteNewFile(files, temporary, content)) return Refuse("cannot write " + temporary);

  // The file must read back as a usable profile before it takes the target's place.
  CapturedConsole console;
  FixedClock clock("00:00:00");
  RunContext ctx(console, files, clock);
  ctx.profileName = ShownName(*path);
  if (FatalError error =
          ReadSystemProfile(ctx, files.Open(temporary, "r"), ProfileReading::Strict)) {
    files.Remove(temporary);
    return Refuse("the written profile does not read back (" + *error + "); nothing written");
  }
  if (!force && !PathIsFree(*path)) {
    files.Remove(temporary);
    return Refuse(*path + " exists; use --force to replace it");
  }
  if (!files.Rename(temporary, *path)) {
    files.Remove(temporary);
    return Refuse("cannot rename " + temporary + " to " + *path);
  }
  if (named != *path) Print(named + " written as " + *path + ", the file the probe reads for it\n");
  for (const std::string& warning : Warnings(*path, *password))
    std::fprintf(stderr, "kelvoran-profile: warning: %s\n", warning.c_str());
  return kToolOk;
}

int Check(const std::vector<std::string>& args) {
  if (args.size() != 1 || args[0].rfind("--", 0) == 0)
    return Refuse("check takes one argument: the profile file");
  const std::string& path = args[0];
  CapturedConsole console;
  DiskFileSystem files;
  FixedClock clock("00:00:00");
  RunContext ctx(console, files, clock);
  FilePtr file = files.Open(path, "r");
  if (!file) return Refuse("cannot open " + path);
  ctx.profileName = ShownName(path);
  const FatalError error = ReadSystemProfile(ctx, std::move(file), ProfileReading::Strict);

  std::string report;
  for (const char* key : kShownKeys) {
    const std::string& value = ctx.profile.*SettingFor(key).field;
    const bool password = std::string_view(key) == kPasswordKey;
    report += std::string(key) + " " + (password && !value.empty() ? kPasswordMask : value) + "\n";
  }
  for (const std::string& warning : Warnings(path, ctx.profile.password))
    report += "Warning: " + warning + "\n";
  report += (error ? *error : std::string("OK")) + "\n";
  Print(report);
  return error ? kToolError : kToolOk;
}

int RunTool(const std::vector<std::string>& args) {
  if (args.empty()) {
    std::fputs(kUsage, stderr);
    return kToolError;
  }
  const std::string& command = args[0];
  const std::vector<std::string> rest(args.begin() + 1, args.end());
  if (command == "--help" || command == "-h" || command == "help") {
    Print(kUsage);
    return kToolOk;
  }
  if (command == "encode") return Encode(rest);
  if (command == "new") return New(rest);
  if (command == "check") return Check(rest);
  return Refuse("unknown command \"" + command + "\"; see kelvoran-profile --help");
}

}  // namespace
}  // namespace kelvoran

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + (argc > 0 ? argc : 0));
  const int status = kelvoran::RunTool(args);
  std::fflush(stdout);
  return status;
}
