/// Start-up: the start banner and the command line.
#ifndef KELVORAN_DRIVER_COMMAND_LINE_H
#define KELVORAN_DRIVER_COMMAND_LINE_H

#include <optional>
#include <string>
#include <string_view>

#include "driver/fail_run.h"

namespace kelvoran {

struct RunContext;

inline constexpr const char* kProductName = "Kelvoran";
inline constexpr const char* kVersionText = "Vers 4.3 / 29.08.22";
/// Longest item identification taken from "ITEM=" or "Item=".
inline constexpr std::size_t kItemCapacity = 90;
/// Longest option text the command line may give (in bytes); a longer one is Error 1037.
inline constexpr std::size_t kOptionTextCapacity = 127;

/// Takes the time the run started: the first step of the program.
void TakeStartTime(RunContext& ctx);

/// "* hh:mm:ss SAP Kelvoran Vers 4.3 / 29.08.22" with the start time, for verbose mode. Only
/// built when shown: local time costs a look at the time zone.
void BuildStartBanner(RunContext& ctx);

/// Fills the run state from the command line: profile name (extension and global rules),
/// option text (every argument after the profile name, joined with one blank) and its
/// upper-case copy, client code, item, host flavour and verbose mode. Error 1001 without a
/// profile name; Error 1037 for an option text over 127 characters, before any option acts;
/// Error 1031 for an unknown "FLAVOUR="; Errors 1033 and 1035 for a wrong "TIMEOUT=" or
/// "PARALLEL=".
[[nodiscard]] FatalError ParseCommandLine(RunContext& ctx, int argc, const char* const* argv);

/// `parameterString` := `parameterText` in upper case (a-z only, positions unchanged).
void RebuildParameterString(RunContext& ctx);

/// The client code: the three characters after "CLIENT=", when given.
void ReadClientCode(RunContext& ctx);

/// An option value: from `start` in the option text, up to the first blank or comma (as seen
/// in the upper-case copy), at most `limit` characters, each ':' turned into a blank.
std::string OptionValue(const RunContext& ctx, std::size_t start, std::size_t limit);

/// An option value as typed: from `start` in the option text up to the first blank or comma.
std::string TypedOptionValue(const RunContext& ctx, std::size_t start);

/// `value` as a whole number from 1 to `most` (digits only, leading zeros allowed), or nothing.
std::optional<unsigned> WholeNumberUpTo(std::string_view value, unsigned most);

/// The profile name as the probe opens it: ".P00" appended unless the fourth character from the
/// end is a '.' ("PRD" is "PRD.P00"; "PRD.P01" and "Almandor.Prf" stay as they are).
std::string WithProfileExtension(std::string_view name);

/// Applies the rule that makes GLOBAL (any case, with or without ".P00") a global run; true
/// when it did.
bool ApplyGlobalRule(RunContext& ctx);

std::string ToUpperAscii(std::string_view text);

}  // namespace kelvoran

#endif
