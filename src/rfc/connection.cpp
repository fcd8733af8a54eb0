#include "rfc/connection.h"

#include <cctype>
#include <climits>
#include <cstdio>
#include <utility>

#include "output/log_writer.h"
#include "platform/folder_lock.h"
#include "run_context.h"
#include "step_report.h"

namespace kelvoran {

namespace {

constexpr std::size_t kUserWidth = 12;
constexpr std::size_t kPasswordWidth = 10;

void PadRight(std::string& text, std::size_t width) {
  if (text.size() < width) text.append(width - text.size(), ' ');
}

char* PointerOrNull(std::string& text) { return text.empty() ? nullptr : text.data(); }

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

// The system number as its leading digits read it ("00" is 0, "7a" is 7, "x" is 0), the way
// the C library's atoi does, but bounded instead of overflowing.
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

// Replaces "SapRfc.ini" with an exact copy of `source`, so that no reader of it ever sees it
// half written: the copy goes to a file of this process's own beside it, which is then renamed
// over it. Other probes of the folder may write copies of their own at the same time; putting
// one in place is what the caller's lock guards.
bool ReplaceRfcIni(RunContext& ctx, std::FILE* source) {
  const std::string& temporary = TemporaryIniName(ctx);
  FilePtr target = ctx.files.Open(temporary, "wb");
  if (!target) return false;
  // From here until it is renamed, an ending of the process removes the copy.
  ctx.rfc.temporaryIniPresent.store(true);
  if (CopyAndClose(source, std::move(target)) && ctx.files.Rename(temporary, kRfcIniName)) {
    ctx.rfc.temporaryIniPresent.store(false);
    return true;
  }
  RemoveTemporaryIni(ctx);
  return false;
}

// The folder's SapRfc.ini lock, held for the life of this object. Where the lock file cannot
// be used the probe goes on unguarded, as a probe alone in its folder needs no lock.
class SapRfcIniLock {
 public:
  explicit SapRfcIniLock(RunContext& ctx) : lock_(ctx.folderLock) {
    if (lock_ != nullptr) lock_->LockExclusive(FolderLockRange::SapRfcIni);
  }
  ~SapRfcIniLock() {
    if (lock_ != nullptr) lock_->Unlock(FolderLockRange::SapRfcIni);
  }
  SapRfcIniLock(const SapRfcIniLock&) = delete;
  SapRfcIniLock& operator=(const SapRfcIniLock&) = delete;

 private:
  FolderLock* lock_;
};

// True when the per-destination file is "SapRfc.ini" itself (destination "ini", or "INI" where
// file names ignore letter case): it is then used as it stands, never copied onto itself.
bool IsRfcIniItself(RunContext& ctx, const std::string& destinationIni) {
  return ctx.files.SameFile(destinationIni, kRfcIniName);
}

// A value of the connect string: SAP's library reads it up to the next blank unless it is set
// in double quotes, so one that holds a blank (a password may) is quoted.
std::string ConnectStringValue(const std::string& value) {
  return value.find(' ') == std::string::npos ? value : '"' + value + '"';
}

}  // namespace

std::string BuildConnectString(const RunContext& ctx) {
  const SystemProfile& p = ctx.profile;
  return "CLIENT=" + ConnectStringValue(p.client) + " USER=" + ConnectStringValue(p.user) +
         " PASSWD=" + ConnectStringValue(p.password) +
         " LANG=D DEST=" + ConnectStringValue(p.destination);
}

RfcHandle OpenConnection(RunContext& ctx) {
  EnterStep(ctx, "OpenConnection");
  RfcState& rfc = ctx.rfc;
  ConnectionCopies& c = rfc.copies;
  const SystemProfile& p = ctx.profile;
  c.destination = p.destination;
  c.client = p.client;
  c.user = p.user;
  c.password = p.password;
  c.language = p.language;
  c.mode = p.mode;
  c.hostname = p.hostname;
  c.sysnr = p.sysnr;
  c.gwhost = p.gwhost;
  c.gwservice = p.gwservice;

  ReadOverride(ctx, ",HOST=", c.hostname);
  ReadOverride(ctx, ",NO=", c.sysnr);

  PadRight(c.user, kUserWidth);
  PadRight(c.password, kPasswordWidth);

  ConnectionOptions& options = rfc.options;
  options.destination = c.destination.data();
  options.client = c.client.data();
  options.user = c.user.data();
  options.password = c.password.data();
  options.language = c.language.data();
  if (c.mode == "R/2") {
    options.mode = 1;
    rfc.gateway.gatewayHost = PointerOrNull(c.gwhost);
    rfc.gateway.gatewayService = PointerOrNull(c.gwservice);
    options.connectionParameters = &rfc.gateway;
  } else {
    options.mode = 0;
    rfc.server.hostName = PointerOrNull(c.hostname);
    if (!c.sysnr.empty()) rfc.server.systemNumber = LeadingNumber(c.sysnr);
    rfc.server.gatewayHost = PointerOrNull(c.gwhost);
    rfc.server.gatewayService = PointerOrNull(c.gwservice);
    options.connectionParameters = &rfc.server;
  }
  options.trace = 0;

  const std::string destinationIniName = kDestinationIniPrefix + p.destination;
  FilePtr destinationIni = ctx.files.Open(destinationIniName, "rb");
  if (!destinationIni) {
    EnterStep(ctx, "RfcOpen");
    rfc.lastOpened = RfcOpen(&options);
    WriteLogLine(ctx, static_cast<std::int32_t>(rfc.lastOpened), "RfcOpen called", "");
    return rfc.lastOpened;
  }

  // In an XML flavour this line would break the document the host parses; it goes to standard
  // error there, unless console lines are on and it joins them.
  const std::string iniLine = "* SapRfc.Ini.......: " + p.destination + "<\n";
  if (IsXmlFlavour(ctx.hostFlavour) && !ctx.verboseMode) {
    ctx.console.WriteError(iniLine);
  } else {
    ctx.console.Write(iniLine);
  }
  {
    const SapRfcIniLock lock(ctx);
    const bool replaced =
        IsRfcIniItself(ctx, destinationIniName) || ReplaceRfcIni(ctx, destinationIni.get());
    destinationIni.reset();
    if (!replaced) return 0;
    const std::string connectString = BuildConnectString(ctx);
    EnterStep(ctx, "RfcOpenEx");
    rfc.lastOpened = RfcOpenEx(connectString.c_str(), &rfc.openError);
  }
  WriteLogLine(ctx, static_cast<std::int32_t>(rfc.lastOpened), "RfcOpenEx called", "");
  return rfc.lastOpened;
}

void CloseConnection(RunContext& ctx) {
  if (ctx.connectionHandle != 0) {
    EnterStep(ctx, "RfcClose");
    RfcClose(ctx.connectionHandle);
    ctx.connectionHandle = 0;
  }
}

}  // namespace kelvoran
