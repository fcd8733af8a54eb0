/// The result document: its envelope, its text block and the error document, in the form the
/// host flavour needs.
#ifndef KELVORAN_OUTPUT_DOCUMENT_H
#define KELVORAN_OUTPUT_DOCUMENT_H

#include <string>
#include <string_view>

#include "output/host_flavour.h"

namespace kelvoran {

struct RunContext;

/// The longest error document: a message too long for it is cut.
inline constexpr std::size_t kErrorDocumentCapacity = 4095;

/// Starts the document; throws away whatever the buffer held.
void BeginDocument(RunContext& ctx);
/// Opens the free-text element that describes the system.
void BeginTextBlock(RunContext& ctx);
/// Closes it. In the Tolvane flavour with a "CH=" selection it empties the buffer instead, so
/// that the selected channel's bare value is all the host reads.
void EndTextBlock(RunContext& ctx);
/// Closes the document.
void EndDocument(RunContext& ctx);

/// Replaces the buffer with the error document carrying `message` (the same XML document in
/// every flavour). The message is escaped (made UTF-8 in the XML flavours only, whose hosts
/// parse it), and cut if need be so that the document stays complete within the buffer.
void WriteErrorDocument(RunContext& ctx, std::string_view message);

/// The document that ends a run with the fatal `message`. Normally the whole error document
/// (as WriteErrorDocument makes it). When an XML flavour's envelope opening is already on
/// standard output (`envelopeOpen`, a global run), the rest of that document instead:
/// "<Error>1</Error>", the text element with the message and the envelope's end, so that
/// standard output stays one document the host can read. The message is escaped and cut as in
/// WriteErrorDocument; the result always fits the output buffer.
std::string FatalDocument(HostFlavour flavour, bool envelopeOpen, std::string_view message);

/// Appends a text that comes from outside the program (a profile value, an argument, an
/// answer of SAP). In the XML flavours it is escaped and made UTF-8, so it can neither break the
/// host's parser nor add elements; the text flavours take it as it stands.
void AppendOutsideText(RunContext& ctx, std::string_view text);

/// "&", "<" and ">" written as "&amp;", "&lt;" and "&gt;"; a control character that XML 1.0
/// does not allow (every byte below 0x20 except tab, line feed and carriage return) as "?"; a
/// byte from 0x80 up that is no part of valid UTF-8 as its Windows-1252 character in UTF-8
/// (see utf8_text.h); everything else unchanged, so a text of ASCII or UTF-8 keeps its bytes.
std::string EscapeXml(std::string_view text);

}  // namespace kelvoran

#endif
