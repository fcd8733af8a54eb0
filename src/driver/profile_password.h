/// The stored form of a profile password: what the probe decodes and the profile tool writes.
///
/// A stored value is 24 characters: a four-digit header (check digit, key offset, two-digit
/// length) and a 20-character block holding the password and padding, all combined with the
/// profile key by exclusive-or. It keeps the password out of plain sight in the file; it is
/// not encryption.
#ifndef KELVORAN_DRIVER_PROFILE_PASSWORD_H
#define KELVORAN_DRIVER_PROFILE_PASSWORD_H

#include <cstddef>
#include <string>
#include <string_view>

namespace kelvoran {

/// Length of a stored value.
inline constexpr std::size_t kStoredPasswordLength = 24;
/// Longest password the stored form holds.
inline constexpr std::size_t kLongestProfilePassword = 20;

/// What a stored value yields.
struct DecodedPassword {
  /// The value has the stored form: 24 characters whose header decodes to four digits.
  bool wellFormed = false;
  /// The check digit matches the decoded block; only then does `password` hold the password.
  bool verified = false;
  std::string password;
};

/// Decodes a stored value. A value that is not well formed is still decoded as far as it can
/// be (the header's offset and length are digits and the 20 characters are there), so that a
/// caller that goes on after a format error gets the same password the digits describe.
DecodedPassword DecodeProfilePassword(std::string_view stored);

/// The stored form of a password, or why it has none.
struct EncodedPassword {
  std::string stored;  ///< 24 printable characters; empty when `error` is set
  std::string error;   ///< a sentence for people; empty on success
};

/// Encodes a password of 1 to 20 printable ASCII characters so that the stored value is
/// printable too (no control character, no DEL), trying the key offsets 0 to 9 in turn; a
/// stored value that ends in a blank is avoided when another offset allows it, since editors
/// tend to strip such blanks. Refuses the rare password that no offset can store printably.
EncodedPassword EncodeProfilePassword(std::string_view password);

}  // namespace kelvoran

#endif
