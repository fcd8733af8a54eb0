#include "driver/system_profile.h"

#include <cstdio>
#include <string_view>
#include <utility>

#include "driver/command_line.h"
#include "driver/line_pieces.h"
#include "driver/profile_password.h"
#include "platform/byte_order_mark.h"
#include "run_context.h"

namespace kelvoran {

namespace {

/// Line buffers of the two readings: 159 and 199 characters per read.
constexpr std::size_t kStrictLineBuffer = 160;
constexpr std::size_t kLenientLineBuffer = 200;

constexpr const char* kUserKey = "User.......:";
constexpr const char* kPasswordKey = "Password...:";
constexpr const char* kHostnameKey = "Hostname...:";
constexpr const char* kGwhostKey = "Gwhost.....:";

const std::array<ProfileSetting, 11> kSettings = {{
    {"Extcompany.:", &SystemProfile::extcompany, 2, 63},
    {"Destination:", &SystemProfile::destination, 3, 11},
    {"Client.....:", &SystemProfile::client, 3, 11},
    {kUserKey, &SystemProfile::user, 2, 47},
    {kPasswordKey, &SystemProfile::password, 2, 31},
    {"Language...:", &SystemProfile::language, 1, 31},
    {"Mode.......:", &SystemProfile::mode, 3, 31},
    {kHostnameKey, &SystemProfile::hostname, 2, 47},
    {"Sysnr......:", &SystemProfile::sysnr, 2, 31},
    {kGwhostKey, &SystemProfile::gwhost, 2, 61},
    {"Gwservice..:", &SystemProfile::gwservice, 2, 31},
}};

std::string Message(const char* head, const RunContext& ctx, const char* tail) {
  return head + ctx.profileName + tail;
}

// Strict: the message ends the run. Lenient: the profile is only marked.
FatalError Problem(RunContext& ctx, ProfileReading reading, std::string message) {
  if (reading == ProfileReading::Strict) return message;
  ctx.profileInvalid = true;
  return std::nullopt;
}

// The setting whose key the line begins with, exactly and in the same letter case.
const ProfileSetting* FindSetting(std::string_view line) {
  if (line.size() < kProfileKeyLength) return nullptr;
  for (const ProfileSetting& setting : kSettings) {
    if (line.compare(0, kProfileKeyLength, setting.key) == 0) return &setting;
  }
  return nullptr;
}

// A password line is decoded and checked as soon as it is read.
FatalError TakePassword(RunContext& ctx, ProfileReading reading, const std::string& value) {
  if (value.empty()) {
    ctx.profile.password.clear();
    return std::nullopt;
  }
  const DecodedPassword decoded = DecodeProfilePassword(value);
  if (!decoded.wellFormed) {
    if (FatalError error = Problem(
            ctx, reading, Message("Error 1004: Invalid Password in Profile ", ctx, " found...")))
      return error;
  }
  if (!decoded.verified) {
    return Problem(ctx, reading,
                   Message("Error 1005: Wrong Password in Profile ", ctx, " found..."));
  }
  ctx.profile.password = decoded.password;
  return std::nullopt;
}

}  // namespace

const std::array<ProfileSetting, 11>& ProfileSettings() { return kSettings; }

FatalError ReadSystemProfile(RunContext& ctx, FilePtr file, ProfileReading reading) {
  const std::size_t buffer =
      reading == ProfileReading::Strict ? kStrictLineBuffer : kLenientLineBuffer;
  // A buffer of our own spares the C library the look at the file it makes to size one.
  // Declared before the stream, so the stream is closed first on every way out.
  char streamBuffer[4096];
  FilePtr profile = std::move(file);
  if (profile) {
    std::setvbuf(profile.get(), streamBuffer, _IOFBF, sizeof streamBuffer);
    SkipByteOrderMark(profile.get());
  }
  std::string line;
  while (profile && ReadLinePiece(profile.get(), buffer, line)) {
    const ProfileSetting* setting = FindSetting(line);
    if (setting == nullptr) continue;
    // The character after the key is a separator and is skipped whatever it is. Values are
    // cut to 60 characters, except the gateway host: it may hold 61, and a cut host name
    // would connect to another host, so it is kept whole and its length checked.
    const std::string_view key = setting->key;
    const std::size_t limit = key == kGwhostKey ? std::string::npos : kProfileValueLimit;
    std::string value = line.size() > kProfileKeyLength + 1
                            ? line.substr(kProfileKeyLength + 1, limit)
                            : std::string();
    if (key == kPasswordKey) {
      if (FatalError error = TakePassword(ctx, reading, value)) return error;
      continue;
    }
    if (key == kUserKey) value = ToUpperAscii(value);
    if (key == kHostnameKey) ctx.displayHost = value;
    ctx.profile.*setting->field = std::move(value);
  }
  profile.reset();
  return ValidateSystemProfile(ctx, reading);
}

FatalError ValidateSystemProfile(RunContext& ctx, ProfileReading reading) {
  if (ctx.profile.user.empty()) {
    if (FatalError error = Problem(
            ctx, reading, Message("Error 1006: Username in Profile ", ctx, " is missing...")))
      return error;
  }
  if (ctx.profile.password.empty()) {
    if (FatalError error = Problem(
            ctx, reading, Message("Error 1007: Password in Profile ", ctx, " is missing...")))
      return error;
  }
  // A value too long for its field is refused like one too short: cutting it would connect
  // with a setting other than the one written.
  for (const ProfileSetting& setting : kSettings) {
    const std::size_t length = (ctx.profile.*setting.field).size();
    if (length < setting.minimum || length > setting.capacity) {
      if (FatalError error = Problem(
              ctx, reading, Message("Error 1003: Invalid Parameter(s) at ", ctx, " found...")))
        return error;
    }
  }
  return std::nullopt;
}

}  // namespace kelvoran
