#include "rfc/connection_route.h"

#include <cctype>
#include <climits>
#include <utility>

#include "output/host_flavour.h"
#include "platform/byte_order_mark.h"
#include "platform/folder_lock.h"
#include "rfc/connection.h"
#include "rfc/library_steps.h"
#include "rfc/temporary_ini.h"
#include "run_context.h"
#include "step_report.h"

namespace kelvoran {

namespace {

// The value of an override marker: from after its "=" up to the first blank or comma.
bool ReadOverride(const RunContext& ctx, std::string_view marker, std::string& value) {
  const std::size_t at = ctx.parameterString.find(marker);
  if (at == std::string::npos) return false;
  const std::size_t start = at + marker.size();
  std::size_t end = start;
  while (end < ctx.parameterString.size() && ctx.parameterString[end] != ' ' &&
         ctx.parameterString[end] != ',')
    ++end;
  value = ctx.parameterText.substr(start, end - start);
  return true;
}

// Copies `source` byte for byte into `target` and closes `target`; false when the copy is not
// whole.
bool CopyAndClose(std::FILE* source, FilePtr target) {
  char block[4096];
  std::size_t got;
  bool written = true;
  while ((got = std::fread(block, 1, sizeof block, source)) > 0) {
    if (std::fwrite(block, 1, got, target.get()) != got) {
      written = false;
      break;
    }
  }
  if (std::ferror(source)) written = false;
  if (std::fclose(target.release()) != 0) written = false;
  return written;
}

bool WriteAndClose(std::string_view content, FilePtr target) {
  bool written = std::fwrite(content.data(), 1, content.size(), target.get()) == content.size();
  if (std::fclose(target.release()) != 0) written = false;
  return written;
}

// Writes this process's own file with `write` and renames it over `target`. Other probes of
// the folder may write files of their own at the same time; putting one in place is what the
// caller's lock guards.
template <typename Write>
bool Replace(RunContext& ctx, const char* target, Write write) {
  const std::string& temporary = TemporaryIniName(ctx);
  FilePtr file = ctx.files.Open(temporary, "wb");
  if (!file) return false;
  // From here until it is renamed, an ending of the process removes the copy.
  ctx.rfc.temporaryIniPresent.store(true);
  if (write(std::move(file)) && ctx.files.Rename(temporary, target)) {
    ctx.rfc.temporaryIniPresent.store(false);
    return true;
  }
  RemoveTemporaryIni(ctx);
  return false;
}

}  // namespace

std::string WithoutTrailingBlanks(std::string_view value) {
  while (!value.empty() && value.back() == ' ') value.remove_suffix(1);
  return std::string(value);
}

void CopyConnectionFields(RunContext& ctx) {
  ConnectionCopies& c = ctx.rfc.copies;
  const SystemProfile& p = ctx.profile;
  c.destination = WithoutTrailingBlanks(p.destination);
  c.client = WithoutTrailingBlanks(p.client);
  c.user = WithoutTrailingBlanks(p.user);
  c.password = WithoutTrailingBlanks(p.password);
  c.language = WithoutTrailingBlanks(p.language);
  c.mode = p.mode;
  c.hostname = WithoutTrailingBlanks(p.hostname);
  c.sysnr = WithoutTrailingBlanks(p.sysnr);
  c.gwhost = WithoutTrailingBlanks(p.gwhost);
  c.gwservice = WithoutTrailingBlanks(p.gwservice);
  ReadOverride(ctx, ",HOST=", c.hostname);
  ReadOverride(ctx, ",NO=", c.sysnr);
}

void PadRight(std::string& text, std::size_t width) {
  if (text.size() < width) text.append(width - text.size(), ' ');
}

int LeadingNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  long long number = 0;
  for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
    if (number < INT_MAX) number = number * 10 + (text[i] - '0');
  }
  if (number > INT_MAX) number = INT_MAX;
  return static_cast<int>(negative ? -number : number);
}

FilePtr OpenDestinationFile(RunContext& ctx, std::string& name) {
  name = kDestinationIniPrefix + ctx.rfc.copies.destination;
  FilePtr file = ctx.files.Open(name, "rb");
  // SAP's libraries read their configuration files as plain text: a mark would become part of
  // the first line's key, so the copy or translation starts behind it.
  if (file) SkipByteOrderMark(file.get());
  return file;
}

ConnectionHandle GiveUpOpen(RunContext& ctx, std::string reason) {
  ctx.rfc.openFailure = std::move(reason);
  return 0;
}

void ExplainFailedOpen(RunContext& ctx) {
  if (ctx.rfc.openFailure.empty()) {
    ExplainFailedStep(ctx);
    return;
  }
  ctx.output.Append(" - ");
  ctx.output.Append(ctx.rfc.openFailure);
}

void AnnounceDestinationRoute(RunContext& ctx) {
  const std::string line = "* SapRfc.Ini.......: " + ctx.profile.destination + "<\n";
  if (IsXmlFlavour(ctx.hostFlavour) && !ctx.verboseMode) {
    ctx.console.WriteError(line);
  } else {
    ctx.console.Write(line);
  }
}

bool ReplaceLibraryFile(RunContext& ctx, std::FILE* source, const char* target) {
  return Replace(ctx, target, [source](FilePtr file) { return CopyAndClose(source, std::move(file)); });
}

bool ReplaceLibraryFile(RunContext& ctx, std::string_view content, const char* target) {
  return Replace(ctx, target,
                 [content](FilePtr file) { return WriteAndClose(content, std::move(file)); });
}

SapRfcIniLock::SapRfcIniLock(RunContext& ctx) : lock_(ctx.folderLock) {
  if (lock_ == nullptr) return;
  // Another probe of the folder may hold the lock while its system is slow to open: a
  // deadline that strikes meanwhile says that this probe waits, not on what.
  EnterStep(ctx, kWaitingForSapRfcIni);
  lock_->LockExclusive(FolderLockRange::SapRfcIni);
}

SapRfcIniLock::~SapRfcIniLock() {
  if (lock_ != nullptr) lock_->Unlock(FolderLockRange::SapRfcIni);
}

}  // namespace kelvoran
