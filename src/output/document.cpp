#include "output/document.h"

#include <algorithm>

#include "run_context.h"

namespace kelvoran {

namespace {

constexpr std::string_view kErrorHead = "<Prtg>\n<Error>1</Error>\n<Text>";
// The error document's rest, after an envelope opening that is already printed.
constexpr std::string_view kErrorInsideHead = "<Error>1</Error>\n<Text>";
constexpr std::string_view kErrorTail = "</Text>\n</Prtg>\n";

bool HasChannelSelection(const RunContext& ctx) {
  return ctx.parameterString.find("CH=") != std::string::npos;
}

// An XML 1.0 document may not hold a control character other than tab, line feed and carriage
// return, not even as a character reference: such a character is shown as '?'.
bool IsForbiddenInXml(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte < 0x20 && c != '\t' && c != '\n' && c != '\r';
}

}  // namespace

std::string EscapeXml(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&': escaped += "&amp;"; break;
      case '<': escaped += "&lt;"; break;
      case '>': escaped += "&gt;"; break;
      default: escaped += IsForbiddenInXml(c) ? '?' : c;
    }
  }
  return escaped;
}

void BeginDocument(RunContext& ctx) {
  if (IsXmlFlavour(ctx.hostFlavour)) {
    ctx.output.Assign("\n<Prtg>\n");
  } else {
    ctx.output.Clear();
  }
}

void BeginTextBlock(RunContext& ctx) {
  ctx.output.Append(IsXmlFlavour(ctx.hostFlavour) ? "\n<Text>" : "\n# ");
}

void EndTextBlock(RunContext& ctx) {
  if (IsXmlFlavour(ctx.hostFlavour)) {
    ctx.output.Append("</Text>\n");
  } else if (ctx.hostFlavour == HostFlavour::Tolvane && HasChannelSelection(ctx)) {
    ctx.output.Clear();
  }
}

void EndDocument(RunContext& ctx) {
  ctx.output.Append(IsXmlFlavour(ctx.hostFlavour) ? "\n</Prtg>\n" : "\n");
}

std::string FatalDocument(HostFlavour flavour, bool envelopeOpen, std::string_view message) {
  const std::string_view head = envelopeOpen && IsXmlFlavour(flavour) ? kErrorInsideHead : kErrorHead;
  // Cut the message, never the closing tags, and never inside an escaped character.
  const std::size_t room = OutputBuffer::kCapacity - head.size() - kErrorTail.size();
  std::string document;
  document.reserve(head.size() + std::min(room, message.size()) + kErrorTail.size());
  document.append(head);
  std::size_t used = 0;
  for (char c : message) {
    const std::string piece = EscapeXml(std::string_view(&c, 1));
    if (used + piece.size() > room) break;
    document += piece;
    used += piece.size();
  }
  document.append(kErrorTail);
  return document;
}

void WriteErrorDocument(RunContext& ctx, std::string_view message) {
  ctx.output.Assign(FatalDocument(ctx.hostFlavour, false, message));
}

void AppendOutsideText(RunContext& ctx, std::string_view text) {
  if (IsXmlFlavour(ctx.hostFlavour)) {
    ctx.output.Append(EscapeXml(text));
  } else {
    ctx.output.Append(text);
  }
}

}  // namespace kelvoran
