// Documents and channels: the texts the output subsystem takes from outside, in every flavour.
// The input is split at NUL bytes: a flavour byte, the option text, the description text and up
// to three channels (name, value, unit), then an error message. The lengths stay within what
// the probe passes (a description of at most 300 bytes, channel fields of at most 40), since
// the documents of this probe are far below the output buffer's capacity.
#include "driver/command_line.h"
#include "driver/fail_run.h"
#include "output/channel_writer.h"
#include "output/document.h"
#include "fuzz/fuzz_support.h"

namespace {

std::vector<std::string> Fields(std::string_view text) {
  std::vector<std::string> fields;
  for (;;) {
    const std::size_t end = text.find('\0');
    fields.emplace_back(text.substr(0, end));
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return fields;
}

std::string Field(const std::vector<std::string>& fields, std::size_t at, std::size_t limit) {
  return at < fields.size() ? fields[at].substr(0, limit) : std::string();
}

void CheckXml(const std::string& document) {
  const std::string error = kelvoran::XmlWellFormednessError(document);
  if (!error.empty()) kelvoran::fuzz::Violation("not well-formed XML: " + error, document);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kelvoran;
  if (size == 0) return 0;
  const std::vector<std::string> fields = Fields(fuzz::Text(data + 1, size - 1));
  const HostFlavour flavour = *FindHostFlavour(fuzz::kFlavourNames[data[0] % 5]);

  CapturedConsole console;
  fuzz::FuzzFileSystem files;
  FixedClock clock("06:15:00");
  RunContext ctx(console, files, clock);
  ctx.hostFlavour = flavour;
  ctx.parameterText = Field(fields, 0, 127);
  RebuildParameterString(ctx);

  BeginDocument(ctx);
  BeginTextBlock(ctx);
  AppendOutsideText(ctx, Field(fields, 1, 300));
  EndTextBlock(ctx);
  for (std::size_t channel = 0; channel < 3; ++channel) {
    const std::size_t at = 2 + channel * 3;
    if (at >= fields.size()) break;
    WriteChannel(ctx, Field(fields, at, 40), Field(fields, at + 1, 40), Field(fields, at + 2, 40));
  }
  EndDocument(ctx);
  if (IsXmlFlavour(flavour)) CheckXml(ctx.output.Text());

  // The error document, whole and as the rest of a global run's envelope (printed with the
  // line feed the run adds).
  const std::string message = Field(fields, 11, std::string::npos);
  WriteErrorDocument(ctx, message);
  CheckXml(IsXmlFlavour(flavour) ? ctx.output.Text() : fuzz::InHostCodePage(ctx.output.Text()));
  BeginDocument(ctx);
  ctx.envelopeOpen = true;
  console.Write(ctx.output.Text() + "\n");
  FailRun(ctx, message);
  if (IsXmlFlavour(flavour)) CheckXml(console.Text());
  return 0;
}
