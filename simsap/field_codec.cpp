#include "field_codec.h"

#include <cstdint>
#include <cstring>

#include "text.h"

namespace simsap {

namespace {

int TwoDigits(std::string_view text, std::size_t at) {
  return (text[at] - '0') * 10 + (text[at + 1] - '0');
}

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

// "00000000" is SAP's initial date; anything else must be a day of the calendar.
bool IsDate(std::string_view text) {
  if (text.size() != 8 || !IsAllDigits(text)) return false;
  if (text == "00000000") return true;
  const int year = TwoDigits(text, 0) * 100 + TwoDigits(text, 2);
  const int month = TwoDigits(text, 4);
  const int day = TwoDigits(text, 6);
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (year < 1 || month < 1 || month > 12 || day < 1) return false;
  const int last = kDays[month - 1] + (month == 2 && IsLeapYear(year) ? 1 : 0);
  return day <= last;
}

bool IsTime(std::string_view text) {
  return text.size() == 6 && IsAllDigits(text) && TwoDigits(text, 0) < 24 &&
         TwoDigits(text, 2) < 60 && TwoDigits(text, 4) < 60;
}

// A decimal number split into its parts; false when `text` is not one.
bool SplitDecimal(std::string_view text, bool& negative, std::string& whole,
                  std::string& fraction) {
  negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  const std::size_t point = text.find('.');
  whole = std::string(text.substr(0, point));
  fraction = point == std::string_view::npos ? std::string() : std::string(text.substr(point + 1));
  if (whole.empty() && fraction.empty()) return false;
  if (point != std::string_view::npos && fraction.empty()) return false;
  return IsAllDigits(whole) && IsAllDigits(fraction);
}

std::string WithoutLeadingZeros(const std::string& digits) {
  const std::size_t first = digits.find_first_not_of('0');
  return first == std::string::npos ? std::string() : digits.substr(first);
}

std::optional<std::string> CheckPacked(const FieldDef& field, std::string_view value) {
  const unsigned digits = 2 * field.length - 1;
  const unsigned wholeDigits = digits - field.decimals;
  bool negative;
  std::string whole, fraction;
  if (SplitDecimal(value, negative, whole, fraction) &&
      WithoutLeadingZeros(whole).size() <= wholeDigits && fraction.size() <= field.decimals) {
    return std::nullopt;
  }
  if (field.decimals == 0) {
    return "is not a whole number of at most " + std::to_string(digits) + " digits";
  }
  return "is not a decimal number with at most " + std::to_string(wholeDigits) +
         " digits before and " + std::to_string(field.decimals) + " after the decimal point";
}

void EncodePacked(const FieldDef& field, std::string_view value, unsigned char* out) {
  bool negative;
  std::string whole, fraction;
  SplitDecimal(value, negative, whole, fraction);
  fraction.append(field.decimals - fraction.size(), '0');
  const std::string digits = WithoutLeadingZeros(whole + fraction);
  if (digits.empty()) negative = false;  // zero has no sign

  // Nibbles from the right: the sign, then the digits from the last to the first.
  std::memset(out, 0, field.length);
  const unsigned nibbleCount = 2 * field.length;
  auto setNibble = [&](unsigned index, unsigned nibble) {
    unsigned char& byte = out[index / 2];
    byte = static_cast<unsigned char>(index % 2 == 0 ? (byte & 0x0f) | (nibble << 4)
                                                     : (byte & 0xf0) | nibble);
  };
  setNibble(nibbleCount - 1, negative ? 0xd : 0xc);
  unsigned index = nibbleCount - 1;
  for (auto digit = digits.rbegin(); digit != digits.rend(); ++digit) {
    setNibble(--index, static_cast<unsigned>(*digit - '0'));
  }
}

}  // namespace

std::optional<std::string> CheckFieldValue(const FieldDef& field, std::string_view value) {
  switch (field.type) {
    case kTypeChar:
      if (value.size() <= field.length) return std::nullopt;
      return "is " + std::to_string(value.size()) + " characters long, at most " +
             std::to_string(field.length) + " fit";
    case kTypeDate:
      if (IsDate(value)) return std::nullopt;
      return std::string("is not a date YYYYMMDD");
    case kTypeTime:
      if (IsTime(value)) return std::nullopt;
      return std::string("is not a time HHMMSS");
    case kTypeInteger:
      if (ParseInt32(value)) return std::nullopt;
      return std::string("is not a whole number from -2147483648 to 2147483647");
    case kTypePacked:
      return CheckPacked(field, value);
    default:
      return std::string("has a type the library does not know");
  }
}

void EncodeField(const FieldDef& field, std::string_view value, unsigned char* out) {
  switch (field.type) {
    case kTypeInteger: {
      const std::int32_t number = ParseInt32(value).value_or(0);
      std::memcpy(out, &number, sizeof number);
      return;
    }
    case kTypePacked:
      EncodePacked(field, value, out);
      return;
    default: {  // characters, dates and times: the text, blank-padded
      const std::size_t length = value.size() < field.length ? value.size() : field.length;
      std::memset(out, ' ', field.length);
      std::memcpy(out, value.data(), length);
      return;
    }
  }
}

std::string DecodeField(const FieldDef& field, const unsigned char* in) {
  switch (field.type) {
    case kTypeInteger: {
      std::int32_t number;
      std::memcpy(&number, in, sizeof number);
      return std::to_string(number);
    }
    case kTypePacked: {
      // Digits in every nibble but the last, which holds the sign (B and D negative).
      std::string digits;
      const unsigned nibbleCount = 2 * field.length;
      for (unsigned index = 0; index + 1 < nibbleCount; ++index) {
        const unsigned nibble = index % 2 == 0 ? in[index / 2] >> 4 : in[index / 2] & 0x0f;
        digits += static_cast<char>('0' + (nibble > 9 ? 9 : nibble));
      }
      const unsigned sign = in[field.length - 1] & 0x0f;
      const std::size_t keep = field.decimals + 1;
      if (digits.size() < keep) digits.insert(0, keep - digits.size(), '0');
      const std::size_t first = digits.find_first_not_of('0');
      const bool zero = first == std::string::npos;
      if (!zero && digits.size() - first > keep) {
        digits.erase(0, first);
      } else {
        digits.erase(0, digits.size() - keep);
      }
      if (field.decimals > 0) digits.insert(digits.size() - field.decimals, 1, '.');
      return (!zero && (sign == 0xb || sign == 0xd) ? "-" : "") + digits;
    }
    default:
      return std::string(reinterpret_cast<const char*>(in), field.length);
  }
}

}  // namespace simsap
