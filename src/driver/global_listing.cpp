#include "driver/global_listing.h"

#include <cstdio>
#include <string>
#include <string_view>

#include "driver/command_line.h"
#include "driver/line_pieces.h"
#include "platform/byte_order_mark.h"
#include "run_context.h"

namespace kelvoran {

namespace {

// Lines are read in pieces of at most 199 characters; a longer line arrives as further pieces,
// and each piece is looked at as a line of its own.
constexpr std::size_t kPieceBuffer = 200;

// Where the value of each kind of listing line begins.
constexpr std::size_t kListingColumn = 20;
constexpr std::size_t kOptionColumn = 19;
// Header and blank-padded sensor name: the part of a line that says whose line it is.
constexpr std::size_t kKeyLength = 18;
constexpr std::size_t kSensorNameLength = 10;

// The option text of a sensor allocated to this program carries this text.
constexpr std::string_view kAllocation = "Sensor=\"SAP Kelvoran\"";
// The option text of a run ends where the allocation options begin.
constexpr std::string_view kAllocationStart = ",Sensor=";
constexpr std::string_view kItemKeyword = "Item=";

// The line from `column` on; empty when the line is not that long.
std::string_view From(std::string_view line, std::size_t column) {
  return column < line.size() ? line.substr(column) : std::string_view();
}

// True when the first 18 characters of the line, in upper case, are those of `key`. A shorter
// line never matches.
bool HasKey(std::string_view line, std::string_view key) {
  return line.size() >= kKeyLength && ToUpperAscii(line.substr(0, kKeyLength)) == key;
}

// The item after "Item=" in a sensor's option text: up to the first blank or comma, at most 90
// characters, each ':' turned into a blank; empty without "Item=".
std::string ItemFromOptions(std::string_view options) {
  std::string item;
  const std::size_t at = options.find(kItemKeyword);
  if (at == std::string_view::npos) return item;
  for (std::size_t i = at + kItemKeyword.size(); i < options.size(); ++i) {
    const char c = options[i];
    if (c == ' ' || c == ',' || item.size() >= kItemCapacity) break;
    item += c == ':' ? ' ' : c;
  }
  return item;
}

// "Almandor.Prf": every "# Gsng" line with ": " after it adds to the server listing.
FatalError ReadItemListing(RunContext& ctx) {
  FilePtr file = ctx.files.Open(ctx.profilePath, "r");
  if (!file) return "Error 1024: ProFile " + ctx.profileName + " is missing...";
  SkipByteOrderMark(file.get());
  std::string line;
  while (ReadLinePiece(file.get(), kPieceBuffer, line)) {
    if (std::string_view(line).substr(0, 8) == "# Gsng: ")
      ctx.serverListing += From(line, kListingColumn);
  }
  return std::nullopt;
}

// "SAP Almandor.Gbl": the lines of the sensor named by the first word of the options give the
// server listing, the run's option text and the item.
FatalError ReadSensorListing(RunContext& ctx) {
  std::string sensorKey = ctx.parameterString.substr(0, ctx.parameterString.find(' '));
  if (sensorKey.size() < kSensorNameLength) sensorKey.resize(kSensorNameLength, ' ');
  const std::string listingKey = "# GSNG: " + sensorKey.substr(0, kSensorNameLength);
  const std::string optionKey = "# GSNX: " + sensorKey.substr(0, kSensorNameLength);

  FilePtr file = ctx.files.Open(ctx.profilePath, "r");
  if (!file) return "Error 10x1: ProFile " + ctx.profileName + " is missing...";
  SkipByteOrderMark(file.get());

  ctx.sensorFound = false;
  std::string sensorOptions;
  std::string line;
  while (ReadLinePiece(file.get(), kPieceBuffer, line)) {
    if (HasKey(line, listingKey)) ctx.serverListing += From(line, kListingColumn);
    if (HasKey(line, optionKey)) {
      sensorOptions = From(line, kOptionColumn);
      if (sensorOptions.find(kAllocation) == std::string::npos)
        return std::string("Error 1029: Invalid Sensor-Allocation...");
      std::string options = sensorOptions.substr(0, sensorOptions.find(kAllocationStart));
      for (char& c : options) {
        if (c == ':') c = ' ';
      }
      ctx.parameterText = options;
      ctx.sensorFound = true;
    }
  }
  file.reset();

  ctx.globalItem = ItemFromOptions(sensorOptions);
  if (!ctx.sensorFound) return "Error 1030: Global Sensor " + ctx.sensorArgument + " not found...";
  return std::nullopt;
}

}  // namespace

FatalError ReadGlobalListing(RunContext& ctx) {
  ctx.profileFile.reset();
  ctx.serverListing.clear();
  ctx.systemCount = 0;
  ctx.processedCount = 0;
  ctx.failedCount = 0;

  FatalError error =
      ctx.profileName == kSensorListingName ? ReadSensorListing(ctx) : ReadItemListing(ctx);
  if (error) return error;
  if (ctx.serverListing.empty()) return std::string("Error 1025: Global Server Listing missing...");
  if (ctx.globalItem.empty())
    return std::string("Error 1026: Global Item Idenification missing...");

  ctx.profilePath = ctx.profileDirectory;
  return std::nullopt;
}

}  // namespace kelvoran
