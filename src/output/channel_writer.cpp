#include "output/channel_writer.h"

#include <cctype>

#include "output/document.h"
#include "run_context.h"

namespace kelvoran {

namespace {

std::string_view Cut(std::string_view text) { return text.substr(0, kChannelFieldCapacity); }

// Reads a number the way the C library's atol does: leading white space, an optional sign,
// then digits up to the first other character.
long ReadNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  long number = 0;
  for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
    number = number * 10 + (text[i] - '0');
  }
  return negative ? -number : number;
}

}  // namespace

std::string ChannelKey(std::string_view name) {
  std::string key(name);
  for (char& c : key) {
    switch (c) {
      case ' ': case '/': case '\\': case '[': case ']': case '*': case '(': case ')': case ':':
      case '-':
        c = '_';
        break;
      default: break;
    }
  }
  std::size_t dot = key.find('.');
  if (dot != std::string::npos) key[dot] = '_';
  return key;
}

std::string UnitText(std::string_view unit) {
  if (unit.empty()) return "#";
  if (unit == "PerCent") return "%";
  if (unit == "TimeResponse") return "mSec";
  return std::string(unit);
}

std::optional<long> SelectedChannel(const RunContext& ctx) {
  std::size_t at = ctx.parameterString.find("CH=");
  if (at == std::string::npos) return std::nullopt;
  std::string_view rest = std::string_view(ctx.parameterText).substr(at + 3);
  rest = rest.substr(0, 3);
  rest = rest.substr(0, rest.find(','));
  return ReadNumber(rest);
}

void WriteChannel(RunContext& ctx, std::string_view name, std::string_view value,
                  std::string_view unit) {
  WriteChannel(ctx, name, value, unit, PrtgChannelTags{});
}

void WriteChannel(RunContext& ctx, std::string_view name, std::string_view value,
                  std::string_view unit, const PrtgChannelTags& tags) {
  ++ctx.channelCounter;
  if (ctx.hostFlavour == HostFlavour::Brennick && ctx.channelCounter > kBrennickChannelLimit) {
    return;
  }
  name = Cut(name);
  value = Cut(value);
  unit = Cut(unit);
  OutputBuffer& out = ctx.output;

  if (ctx.hostFlavour == HostFlavour::Brennick) {
    const std::string key = ChannelKey(name);
    out.Append("\n\nMessage.");
    out.Append(key);
    out.Append(": ");
    out.Append(name);
    out.Append(" (");
    out.Append(UnitText(unit));
    out.Append(")\nStatistic.");
    out.Append(key);
    out.Append(": ");
    out.Append(value);
  } else if (ctx.hostFlavour == HostFlavour::Tolvane) {
    if (std::optional<long> selected = SelectedChannel(ctx)) {
      if (*selected == ctx.channelCounter) out.Append(value);
    } else {
      out.Append("\n> ");
      out.Append(name);
      out.Append(": ");
      out.Append(value);
      out.Append(" ");
      out.Append(UnitText(unit));
    }
  } else {
    out.Append("\n<Result><Channel>");
    AppendOutsideText(ctx, name);
    out.Append("</Channel>");
    if (!tags.unit.empty()) {
      out.Append("\n<Unit>");
      out.Append(EscapeXml(Cut(tags.unit)));
      out.Append("</Unit>");
    } else if (!unit.empty()) {
      out.Append("\n<Unit>Custom</Unit>\n<CustomUnit>");
      AppendOutsideText(ctx, unit);
      out.Append("</CustomUnit>");
    }
    if (tags.decimal) out.Append("\n<Float>1</Float>");
    if (!tags.errorAbove.empty()) {
      out.Append("\n<LimitMaxError>");
      out.Append(EscapeXml(Cut(tags.errorAbove)));
      out.Append("</LimitMaxError>\n<LimitMode>1</LimitMode>");
      if (!tags.errorMessage.empty()) {
        out.Append("\n<LimitErrorMsg>");
        out.Append(EscapeXml(tags.errorMessage.substr(0, kLimitMessageCapacity)));
        out.Append("</LimitErrorMsg>");
      }
    }
    if (!tags.valueLookup.empty()) {
      out.Append("\n<ValueLookup>");
      out.Append(EscapeXml(Cut(tags.valueLookup)));
      out.Append("</ValueLookup>");
    }
    out.Append("\n<Value>");
    AppendOutsideText(ctx, value);
    out.Append("</Value></Result>\n");
  }
}

}  // namespace kelvoran
