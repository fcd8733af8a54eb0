#include "rfc/connection.h"

#include <cstdint>

#include "output/log_writer.h"
#include "rfc/classic/connect_string.h"
#include "rfc/classic/library_state.h"
#include "rfc/connection_route.h"
#include "run_context.h"
#include "step_report.h"

namespace kelvoran {

namespace {

// The classic records carry user and password padded with blanks to these widths.
constexpr std::size_t kUserWidth = 12;
constexpr std::size_t kPasswordWidth = 10;

char* PointerOrNull(std::string& text) { return text.empty() ? nullptr : text.data(); }

// A value of the connect string: SAP's library reads it up to the next blank or tab unless it
// is set in double quotes. Its trailing blanks were never part of it; one that still holds a
// blank or tab (a password may) is quoted.
std::string ConnectStringValue(const std::string& profileValue) {
  const std::string value = WithoutTrailingBlanks(profileValue);
  return value.find_first_of(" \t") == std::string::npos ? value : '"' + value + '"';
}

// True when the per-destination file is "SapRfc.ini" itself (destination "ini", or "INI" where
// file names ignore letter case): it is then used as it stands, never copied onto itself.
bool IsRfcIniItself(RunContext& ctx, const std::string& destinationIni) {
  return ctx.files.SameFile(destinationIni, kRfcIniName);
}

}  // namespace

std::string BuildConnectString(const RunContext& ctx) {
  const SystemProfile& p = ctx.profile;
  return "CLIENT=" + ConnectStringValue(p.client) + " USER=" + ConnectStringValue(p.user) +
         " PASSWD=" + ConnectStringValue(p.password) +
         " LANG=D DEST=" + ConnectStringValue(p.destination);
}

ConnectionHandle OpenConnection(RunContext& ctx) {
  EnterStep(ctx, "OpenConnection");
  LibraryState& rfc = ClassicState(ctx);
  ConnectionCopies& c = ctx.rfc.copies;
  ctx.rfc.openFailure.clear();
  CopyConnectionFields(ctx);
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

  std::string destinationIniName;
  FilePtr destinationIni = OpenDestinationFile(ctx, destinationIniName);
  if (!destinationIni) {
    EnterStep(ctx, "RfcOpen");
    rfc.lastOpened = rfc.operations.RfcOpen(&options);
    WriteLogLine(ctx, static_cast<std::int32_t>(rfc.lastOpened), "RfcOpen called", "");
    return rfc.lastOpened;
  }

  AnnounceDestinationRoute(ctx);
  {
    const SapRfcIniLock lock(ctx);
    const bool replaced = IsRfcIniItself(ctx, destinationIniName) ||
                          ReplaceLibraryFile(ctx, destinationIni.get(), kRfcIniName);
    destinationIni.reset();
    if (!replaced) {
      return GiveUpOpen(ctx, destinationIniName + " cannot be copied over " +
                                 kRfcIniName + " in the working directory");
    }
    const std::string connectString = BuildConnectString(ctx);
    EnterStep(ctx, "RfcOpenEx");
    rfc.lastOpened = rfc.operations.RfcOpenEx(connectString.c_str(), &rfc.openError);
  }
  WriteLogLine(ctx, static_cast<std::int32_t>(rfc.lastOpened), "RfcOpenEx called", "");
  return rfc.lastOpened;
}

void CloseConnection(RunContext& ctx) {
  if (ctx.connectionHandle != 0) {
    EnterStep(ctx, "RfcClose");
    Rfc(ctx).RfcClose(ctx.connectionHandle);
    ctx.connectionHandle = 0;
  }
}

}  // namespace kelvoran
