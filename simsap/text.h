/// Small text helpers of the simulated SAP systems: trimming, case, words, numbers.
#ifndef KELVORAN_SIMSAP_TEXT_H
#define KELVORAN_SIMSAP_TEXT_H

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace simsap {

/// `text` without blanks and tabs at either end.
std::string Trim(std::string_view text);
/// `text` without trailing blanks, the way SAP compares logon data.
std::string TrimTrailingBlanks(std::string_view text);
std::string ToUpper(std::string_view text);
/// ASCII comparison that ignores letter case.
bool EqualsNoCase(std::string_view a, std::string_view b);
/// The blank- or tab-separated words of `text`.
std::vector<std::string> SplitWords(std::string_view text);
/// The lines of `text`, each without its line feed and one carriage return before it.
std::vector<std::string_view> SplitLines(std::string_view text);
/// A whole number with an optional sign that fits 32 bits; nothing else, no blanks.
std::optional<std::int32_t> ParseInt32(std::string_view text);
bool IsAllDigits(std::string_view text);
/// The line holds LOGON or PASSWD in any letter case, so it may carry a password: a message
/// about it must not quote it.
bool MayHoldPassword(std::string_view line);
/// What a message says of such a line instead of quoting it.
inline constexpr const char* kLineNotQuoted =
    "malformed line, not quoted since it may hold a password (LOGON or PASSWD on it)";
/// `text` with every control character replaced by a blank, so that it stays on one line of
/// the trace file.
std::string OneLine(std::string_view text);
/// Copies `text` into the C field `target` of `size` bytes, cut to fit, always NUL-terminated.
void CopyCut(char* target, std::size_t size, const std::string& text);
/// `text` of a C caller, empty for a null pointer.
std::string FromC(const char* text);

}  // namespace simsap

#endif
