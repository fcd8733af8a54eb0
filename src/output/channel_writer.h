/// Channels: one measured figure each, written in the form the host flavour needs.
#ifndef KELVORAN_OUTPUT_CHANNEL_WRITER_H
#define KELVORAN_OUTPUT_CHANNEL_WRITER_H

#include <optional>
#include <string>
#include <string_view>

namespace kelvoran {

struct RunContext;

/// Name, value and unit are each taken up to this many characters.
inline constexpr std::size_t kChannelFieldCapacity = 123;
/// A limit's error message is taken up to this many characters (PRTG's: under 200).
inline constexpr std::size_t kLimitMessageCapacity = 199;
/// Brennick hosts receive at most this many channels of a run.
inline constexpr int kBrennickChannelLimit = 10;

/// What a channel tells PRTG beyond its name, value and unit: the XML flavours write these as
/// PRTG's own channel elements (escaped, each cut like the name); the text flavours have no
/// place for them and ignore them.
struct PrtgChannelTags {
  /// One of PRTG's units ("Percent", "Count"), written as <Unit> in place of a custom unit.
  std::string_view unit;
  /// <Float>1</Float>: the value has decimals.
  bool decimal = false;
  /// <LimitMaxError> with <LimitMode>1</LimitMode>: PRTG sets the sensor to error when the value
  /// is above this one. Empty: no limit.
  std::string_view errorAbove;
  /// <LimitErrorMsg>, the message PRTG shows then (only written with a limit); escaped and cut
  /// like an outside text, at kLimitMessageCapacity.
  std::string_view errorMessage;
  /// <ValueLookup>: the ID of a PRTG value lookup, which shows the value as a word and sets
  /// the sensor's state from it. Needs the unit "Custom".
  std::string_view valueLookup;
};

/// Appends one channel to the document. Every call counts, in every flavour, so the n-th call
/// of the process writes channel number n (what a Tolvane "CH=" selection refers to).
void WriteChannel(RunContext& ctx, std::string_view name, std::string_view value,
                  std::string_view unit);
/// The same with PRTG's channel elements for the XML flavours.
void WriteChannel(RunContext& ctx, std::string_view name, std::string_view value,
                  std::string_view unit, const PrtgChannelTags& tags);

/// The Brennick channel key: " /\[]*():-" each become '_', then the first '.' does.
std::string ChannelKey(std::string_view name);

/// The unit as the text flavours show it: "" is "#", "PerCent" is "%", "TimeResponse" is "mSec".
std::string UnitText(std::string_view unit);

/// The channel number selected with "CH=" in the options: at most three characters up to a
/// comma, read as a decimal number (no digits read as 0). Empty when there is no "CH=".
std::optional<long> SelectedChannel(const RunContext& ctx);

}  // namespace kelvoran

#endif
