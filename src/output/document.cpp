#include "output/document.h"

#include <algorithm>

#include "output/utf8_text.h"
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

// The length of the character at `at`: a well-formed UTF-8 sequence, or else one byte.
std::size_t CharacterLength(std::string_view text, std::size_t at) {
  const std::size_t length = Utf8SequenceLength(text, at);
  return length != 0 ? length : 1;
}

// "&", "<", ">" and the control characters XML forbids escaped; with `toUtf8`, a byte from 0x80
// up that is no part of valid UTF-8 becomes its Windows-1252 character in UTF-8, otherwise it
// stays as it is.
std::string Escape(std::string_view text, bool toUtf8) {
  std::string escaped;
  escaped.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    const char c = text[at];
    const std::size_t length = Utf8SequenceLength(text, at);
    if (static_cast<unsigned char>(c) >= 0x80) {
      if (length != 0 || !toUtf8) {
        escaped.append(text.substr(at, length != 0 ? length : 1));
      } else {
        AppendWindows1252AsUtf8(escaped, static_cast<unsigned char>(c));
      }
      at += length != 0 ? length : 1;
      continue;
    }
    switch (c) {
      case '&': escaped += "&amp;"; break;
      case '<': escaped += "&lt;"; break;
      case '>': escaped += "&gt;"; break;
      default: escaped += IsForbiddenInXml(c) ? '?' : c;
    }
    ++at;
  }
  return escaped;
}

}  // namespace

std::string EscapeXml(std::string_view text) { return Escape(text, true); }

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
  // Cut the message, never the closing tags, and never inside an escaped character or a
  // character of several bytes.
  const std::size_t room = kErrorDocumentCapacity - head.size() - kErrorTail.size();
  std::string document;
  document.reserve(head.size() + std::min(room, message.size()) + kErrorTail.size());
  document.append(head);
  // The text flavours' hosts read their own code page: bytes from 0x80 up stay as they are.
  const bool toUtf8 = IsXmlFlavour(flavour);
  std::size_t used = 0;
  for (std::size_t at = 0; at < message.size();) {
    const std::size_t length = CharacterLength(message, at);
    const std::string piece = Escape(message.substr(at, length), toUtf8);
    if (used + piece.size() > room) break;
    document += piece;
    used += piece.size();
    at += length;
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
