#include "driver/command_line.h"

#include "driver/global_listing.h"
#include "driver/parallel_keyword.h"
#include "driver/run_deadline.h"
#include "output/host_flavour.h"
#include "run_context.h"

namespace kelvoran {

namespace {

// The host flavour, named with "FLAVOUR=" among the options; EXEXML without it.
FatalError ReadHostFlavour(RunContext& ctx) {
  ctx.hostFlavour = HostFlavour::ExeXml;
  static constexpr std::string_view kKeyword = "FLAVOUR=";
  std::size_t at = ctx.parameterString.find(kKeyword);
  if (at == std::string::npos) return std::nullopt;
  const std::string value = TypedOptionValue(ctx, at + kKeyword.size());
  if (std::optional<HostFlavour> flavour = FindHostFlavour(value)) {
    ctx.hostFlavour = *flavour;
    return std::nullopt;
  }
  return "Error 1031: Invalid Flavour " + value + " found...";
}

}  // namespace

std::string ToUpperAscii(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}

void TakeStartTime(RunContext& ctx) { ctx.startTime = ctx.clock.Now(); }

void BuildStartBanner(RunContext& ctx) {
  ctx.startBanner = "* " + ctx.clock.LocalTimeOfDay(ctx.startTime) + " SAP " + kProductName +
                    " " + kVersionText;
}

void RebuildParameterString(RunContext& ctx) {
  ctx.parameterString = ToUpperAscii(ctx.parameterText);
}

void ReadClientCode(RunContext& ctx) {
  std::size_t at = ctx.parameterString.find("CLIENT=");
  if (at != std::string::npos) ctx.clientCode = ctx.parameterString.substr(at + 7, 3);
}

std::string OptionValue(const RunContext& ctx, std::size_t start, std::size_t limit) {
  std::string value;
  for (std::size_t i = start; i < ctx.parameterString.size() && value.size() < limit; ++i) {
    const char c = ctx.parameterString[i];
    if (c == ' ' || c == ',') break;
    value += ctx.parameterText[i] == ':' ? ' ' : ctx.parameterText[i];
  }
  return value;
}

std::optional<unsigned> WholeNumberUpTo(std::string_view value, unsigned most) {
  unsigned number = 0;
  if (value.empty()) return std::nullopt;
  for (char c : value) {
    if (c < '0' || c > '9') return std::nullopt;
    // Bounded: beyond the most the number is wrong however it goes on.
    if (number <= most) number = number * 10 + static_cast<unsigned>(c - '0');
  }
  if (number < 1 || number > most) return std::nullopt;
  return number;
}

std::string TypedOptionValue(const RunContext& ctx, std::size_t start) {
  std::size_t end = start;
  while (end < ctx.parameterString.size() && ctx.parameterString[end] != ' ' &&
         ctx.parameterString[end] != ',')
    ++end;
  return ctx.parameterText.substr(start, end - start);
}

std::string WithProfileExtension(std::string_view name) {
  std::string opened(name);
  if (name.size() < 4 || name[name.size() - 4] != '.') opened += ".P00";
  return opened;
}

bool ApplyGlobalRule(RunContext& ctx) {
  if (ToUpperAscii(ctx.profileName) != "GLOBAL.P00") return false;
  ctx.globalRun = true;
  ctx.profileName = kSensorListingName;
  return true;
}

FatalError ParseCommandLine(RunContext& ctx, int argc, const char* const* argv) {
  if (argc >= 1 && argv[0] != nullptr) ctx.programPath = argv[0];
  if (argc < 2) return std::string("Error 1001: Parameter for Profile-Name is missing !");

  // Names are kept whole, however long: a cut would open another file. A monitor hands the
  // options over as separate words (PRTG splits its Parameters field at blanks), so every word
  // counts; an option text too long to keep is refused rather than cut, since a cut would drop
  // options (a deadline among them) without a word.
  ctx.profileName = argv[1];
  ctx.parameterText.clear();
  ctx.sensorArgument = argc > 2 ? argv[2] : "";
  for (int i = 2; i < argc; ++i) {
    if (i > 2) ctx.parameterText += ' ';
    ctx.parameterText += argv[i];
  }
  if (ctx.parameterText.size() > kOptionTextCapacity)
    return "Error 1037: Option text longer than " + std::to_string(kOptionTextCapacity) +
           " characters found...";
  RebuildParameterString(ctx);
  ReadClientCode(ctx);

  ctx.globalItem.clear();
  std::size_t item = ctx.parameterString.find("ITEM=");
  if (item != std::string::npos) {
    ctx.globalRun = true;
    ctx.globalItem = OptionValue(ctx, item + 5, kItemCapacity);
    ctx.profileName = kItemListingName;
  }

  ctx.profileName = WithProfileExtension(ctx.profileName);
  ApplyGlobalRule(ctx);

  if (FatalError error = ReadHostFlavour(ctx)) return error;
  if (FatalError error = ReadTimeout(ctx)) return error;
  if (FatalError error = ReadParallel(ctx)) return error;

  ctx.verboseMode = ctx.parameterString.find_first_of("#@$%") != std::string::npos;
  return std::nullopt;
}

}  // namespace kelvoran
