#include "driver/profile_password.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace kelvoran {

namespace {

/// The profile key. Every byte lies between 0x01 and 0x1F, so that exclusive-or keeps a
/// printable character printable except for one character per byte (the one that would turn
/// into DEL); the encoder steers around those with the key offset. Profiles written with one
/// key cannot be read with another, so these bytes never change.
constexpr std::array<std::uint8_t, 32> kProfileKey = {
    0x15, 0x04, 0x01, 0x18, 0x09, 0x08, 0x08, 0x05, 0x18, 0x04, 0x16, 0x18, 0x1D, 0x12, 0x03, 0x13,
    0x0E, 0x02, 0x01, 0x03, 0x07, 0x08, 0x11, 0x14, 0x01, 0x12, 0x07, 0x17, 0x15, 0x17, 0x12, 0x0E,
};

constexpr std::size_t kHeaderLength = 4;
constexpr std::size_t kBlockLength = 20;
constexpr int kKeyOffsets = 10;

/// Fills the block after a password shorter than 20 characters. Its characters lie below 0x60,
/// where no key byte can turn them into anything unprintable.
constexpr std::string_view kPadding = "Q8#M2&K5@W9=T4*R7$X3";

char Combine(char c, std::size_t keyPosition) {
  return static_cast<char>(static_cast<unsigned char>(c) ^ kProfileKey[keyPosition]);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsPrintable(char c) { return c >= 0x20 && c <= 0x7E; }

// Letters and digits count in the check sum; nothing else does.
bool CountsInCheckSum(char c) {
  return IsDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

char CheckDigit(std::string_view block) {
  unsigned sum = 0;
  for (char c : block) {
    if (CountsInCheckSum(c)) sum += static_cast<unsigned char>(c);
  }
  return static_cast<char>('0' + sum % 10);
}

// The block is stored reordered: the first character, the last, the second, the one before
// the last, and so on. These map a position in the password block to its stored position.
std::size_t StoredPosition(std::size_t blockPosition) {
  const std::size_t pair = blockPosition / 2;
  return blockPosition % 2 == 0 ? pair : kBlockLength - 1 - pair;
}

}  // namespace

DecodedPassword DecodeProfilePassword(std::string_view stored) {
  DecodedPassword result;
  char header[kHeaderLength] = {};
  for (std::size_t i = 0; i < kHeaderLength && i < stored.size(); ++i)
    header[i] = Combine(stored[i], i);
  result.wellFormed = stored.size() == kStoredPasswordLength && IsDigit(header[0]) &&
                      IsDigit(header[1]) && IsDigit(header[2]) && IsDigit(header[3]);

  // Without the 20 characters, a digit offset and a digit length there is nothing to decode.
  if (stored.size() < kStoredPasswordLength || !IsDigit(header[1]) || !IsDigit(header[2]) ||
      !IsDigit(header[3]))
    return result;

  const std::size_t offset = static_cast<std::size_t>(header[1] - '0');
  const std::size_t length = static_cast<std::size_t>((header[2] - '0') * 10 + (header[3] - '0'));
  std::string block(kBlockLength, '\0');
  for (std::size_t i = 0; i < kBlockLength; ++i) {
    block[i] = Combine(stored[StoredPosition(i) + kHeaderLength], offset + StoredPosition(i));
  }
  if (CheckDigit(block) != header[0]) return result;

  result.verified = true;
  // The block is a C text: a NUL ends it.
  const std::size_t end = block.find('\0');
  result.password =
      block.substr(0, std::min(length, end == std::string::npos ? kBlockLength : end));
  return result;
}

EncodedPassword EncodeProfilePassword(std::string_view password) {
  if (password.empty()) return {"", "the password is empty"};
  if (password.size() > kLongestProfilePassword)
    return {"", "the password is longer than 20 characters"};
  for (char c : password) {
    if (!IsPrintable(c))
      return {"", "the password may only hold printable ASCII characters (blank to '~')"};
  }

  std::string block(password);
  block += kPadding.substr(0, kBlockLength - password.size());
  const char checkDigit = CheckDigit(block);

  std::string fallback;
  for (int offset = 0; offset < kKeyOffsets; ++offset) {
    std::string stored(kStoredPasswordLength, '\0');
    stored[0] = Combine(checkDigit, 0);
    stored[1] = Combine(static_cast<char>('0' + offset), 1);
    stored[2] = Combine(static_cast<char>('0' + password.size() / 10), 2);
    stored[3] = Combine(static_cast<char>('0' + password.size() % 10), 3);
    bool printable = true;
    for (std::size_t i = 0; i < kBlockLength; ++i) {
      const std::size_t at = StoredPosition(i);
      stored[at + kHeaderLength] = Combine(block[i], static_cast<std::size_t>(offset) + at);
      printable = printable && IsPrintable(stored[at + kHeaderLength]);
    }
    if (!printable) continue;
    if (stored.back() != ' ') return {stored, ""};
    if (fallback.empty()) fallback = stored;
  }
  if (!fallback.empty()) return {fallback, ""};
  return {"", "this password cannot be stored in printable characters; please choose another"};
}

}  // namespace kelvoran
