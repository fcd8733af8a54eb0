#include "driver/global_detail.h"

#include <algorithm>
#include <set>
#include <string_view>

#include "output/channel_writer.h"
#include "run_context.h"

namespace kelvoran {

namespace {

constexpr const char* kMeasuredChannel = "Systems measured";
constexpr const char* kFailedChannel = "Systems failed";
constexpr const char* kWithoutProfileChannel = "Systems without profile";
constexpr const char* kSlowestChannel = "Slowest system";

constexpr const char* kFailedHead = "failed: ";
constexpr const char* kWithoutProfileHead = "no profile: ";
constexpr std::string_view kEllipsis = "...";

bool Failed(const JudgedSystem& system) {
  return system.verdict == ListedVerdict::RfcFailure || system.verdict == ListedVerdict::NotFound;
}

// The listed names of the systems `which` picks, in listing order; with `messages`, a failed
// check's message follows its system's name.
template <typename Which>
std::vector<std::string> Names(const RunContext& ctx, Which which, bool messages) {
  std::vector<std::string> names;
  for (const JudgedSystem& system : ctx.judged) {
    if (!which(system)) continue;
    names.push_back(messages && !system.message.empty()
                        ? system.entry + " (" + system.message + ")"
                        : system.entry);
  }
  return names;
}

std::vector<std::string> FailedNames(const RunContext& ctx, bool messages) {
  return Names(ctx, Failed, messages);
}

std::vector<std::string> NamesWithoutProfile(const RunContext& ctx) {
  return Names(
      ctx, [](const JudgedSystem& system) { return system.verdict == ListedVerdict::NoProfile; },
      false);
}

// How many systems get a channel of their own beside the summary channels.
std::size_t SystemsShown(const RunContext& ctx) {
  return std::min(ctx.judged.size(), kMostChannels - kSummaryChannels);
}

// A head and its list of names, in at most `room` characters; empty without names.
std::string Part(const char* head, const std::vector<std::string>& names, std::size_t room) {
  const std::string_view h = head;
  if (names.empty() || room < h.size() + kEllipsis.size()) return std::string();
  return std::string(h) + NameList(names, room - h.size());
}

// The channel name of a listed system: its entry, told apart from every name already taken
// by " (2)", " (3)" and so on (a monitor knows a sensor's channels by name), and kept within
// what a channel name holds.
std::string ChannelName(const std::string& entry, std::set<std::string>& taken) {
  const std::string base = entry.empty() ? "(empty entry)" : entry;
  std::string name = base.substr(0, kChannelFieldCapacity);
  for (unsigned number = 2; !taken.insert(name).second; ++number) {
    const std::string suffix = " (" + std::to_string(number) + ")";
    name = base.substr(0, kChannelFieldCapacity - suffix.size()) + suffix;
  }
  return name;
}

void WriteCount(RunContext& ctx, const char* name, unsigned count) {
  PrtgChannelTags tags;
  tags.unit = "Count";
  WriteChannel(ctx, name, std::to_string(count), "", tags);
}

// A count that sets the sensor to Error from 1 on, with a message naming the systems counted.
void WriteAlarmingCount(RunContext& ctx, const char* name, unsigned count,
                        std::string_view head, const std::vector<std::string>& names) {
  const std::string message =
      names.empty() ? std::string()
                    : std::string(head) + NameList(names, kLimitMessageCapacity - head.size());
  PrtgChannelTags tags;
  tags.unit = "Count";
  tags.errorAbove = "0";
  tags.errorMessage = message;
  WriteChannel(ctx, name, std::to_string(count), "", tags);
}

}  // namespace

std::string NameList(const std::vector<std::string>& names, std::size_t room) {
  std::string list;
  for (std::size_t i = 0; i < names.size(); ++i) {
    const std::string next = (i == 0 ? "" : ", ") + names[i];
    const bool last = i + 1 == names.size();
    // Room is kept for ", ..." unless this is the last name.
    const std::size_t reserve = last ? 0 : 2 + kEllipsis.size();
    if (list.size() + next.size() + reserve > room) {
      const std::string_view more = list.empty() ? kEllipsis : ", ...";
      if (list.size() + more.size() <= room) list += more;
      return list;
    }
    list += next;
  }
  return list;
}

std::string DetailText(const RunContext& ctx, std::size_t room) {
  static constexpr std::string_view kDash = " - ";
  static constexpr std::string_view kSeparator = "; ";
  std::vector<std::string> parts;
  std::size_t used = kDash.size();
  // The room a next part has, after its separator.
  const auto roomLeft = [&] {
    const std::size_t cost = used + (parts.empty() ? 0 : kSeparator.size());
    return cost < room ? room - cost : 0;
  };
  const auto add = [&](std::string part) {
    if (part.empty() || part.size() > roomLeft()) return;
    used += part.size() + (parts.empty() ? 0 : kSeparator.size());
    parts.push_back(std::move(part));
  };
  // The note of the channel limit first: it explains the channels.
  if (SystemsShown(ctx) < ctx.judged.size()) {
    add(std::to_string(SystemsShown(ctx)) + " of " + std::to_string(ctx.judged.size()) +
        " systems as channels");
  }
  // A long list of failed systems leaves the systems without profile a quarter of the room.
  const std::vector<std::string> withoutProfile = NamesWithoutProfile(ctx);
  const std::size_t wanted = Part(kWithoutProfileHead, withoutProfile, room).size();
  const std::size_t reserve =
      wanted == 0 ? 0 : std::min(wanted + kSeparator.size(), roomLeft() / 4);
  const std::size_t failedRoom = roomLeft() > reserve ? roomLeft() - reserve : 0;
  add(Part(kFailedHead, FailedNames(ctx, true), failedRoom));
  add(Part(kWithoutProfileHead, withoutProfile, roomLeft()));
  if (parts.empty()) return std::string();
  std::string text(kDash);
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i != 0) text += kSeparator;
    text += parts[i];
  }
  return text;
}

void WriteSystemChannels(RunContext& ctx) {
  const unsigned withoutProfile = ctx.systemCount - ctx.processedCount - ctx.failedCount;
  WriteCount(ctx, kMeasuredChannel, ctx.processedCount);
  WriteAlarmingCount(ctx, kFailedChannel, ctx.failedCount, "Systems failed: ",
                     FailedNames(ctx, false));
  WriteAlarmingCount(ctx, kWithoutProfileChannel, withoutProfile, "Systems without profile: ",
                     NamesWithoutProfile(ctx));
  PrtgChannelTags time;
  time.unit = "TimeResponse";
  WriteChannel(ctx, kSlowestChannel, std::to_string(ctx.slowestMilliseconds), "TimeResponse",
               time);

  std::set<std::string> taken = {kMeasuredChannel, kFailedChannel, kWithoutProfileChannel,
                                 kSlowestChannel};
  PrtgChannelTags verdict;
  verdict.unit = "Custom";
  verdict.valueLookup = kVerdictLookup;
  for (std::size_t i = 0; i < SystemsShown(ctx); ++i) {
    const JudgedSystem& system = ctx.judged[i];
    WriteChannel(ctx, ChannelName(system.entry, taken),
                 std::to_string(static_cast<int>(system.verdict)), "", verdict);
  }
}

}  // namespace kelvoran
