// Opening a connection through the NW RFC library: directly with the profile's host and system
// number, or by destination through sapnwrfc.ini, which the probe writes from the user's
// per-destination file into a folder of its own.
#include "rfc/connection.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <utility>

#include "output/log_writer.h"
#include "rfc/connection_route.h"
#include "rfc/nwrfc/destination_file.h"
#include "rfc/nwrfc/library_state.h"
#include "rfc/temporary_ini.h"
#include "run_context.h"
#include "step_report.h"

namespace kelvoran {

namespace {

void AddParameter(LibraryState& rfc, const char* name, std::string_view value) {
  rfc.parameterTexts.push_back(ToSapText(name, HostCodePage()));
  rfc.parameterTexts.push_back(ToSapText(value, HostCodePage()));
}

// The system number as the library takes it: two digits.
std::string TwoDigits(int number) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d", number < 0 ? 0 : number % 100);
  return text;
}

// The whole per-destination file, or nothing when it is longer than any such file is.
bool ReadWhole(std::FILE* file, std::string& text) {
  char block[4096];
  std::size_t got;
  while ((got = std::fread(block, 1, sizeof block, file)) > 0) {
    text.append(block, got);
    if (text.size() > kDestinationFileLimit) return true;  // refused by the translation
  }
  return !std::ferror(file);
}

// Opens with the parameters gathered; the log line is the caller's, written once no lock is
// held.
ConnectionHandle Open(RunContext& ctx, LibraryState& rfc) {
  rfc.parameters.clear();
  for (std::size_t i = 0; i + 1 < rfc.parameterTexts.size(); i += 2) {
    rfc.parameters.push_back(
        NwConnectionParameter{rfc.parameterTexts[i].c_str(), rfc.parameterTexts[i + 1].c_str()});
  }
  EnterStep(ctx, "RfcOpenConnection");
  rfc.lastError = NwErrorInfo{};
  rfc.connection = rfc.operations.RfcOpenConnection(
      rfc.parameters.data(), static_cast<unsigned>(rfc.parameters.size()), &rfc.lastError);
  return rfc.connection != nullptr ? ++rfc.opened : 0;
}

// Writes `ini` as sapnwrfc.ini into the folder `folder` of this process's own; false when it
// cannot. From here until it is removed, every ending of the process removes the folder.
bool WriteOwnIni(RunContext& ctx, const std::string& folder, std::string_view ini) {
  static_assert(std::string_view(kNwRfcIniName) == kOwnFolderIniName);
  // A folder of that name left by a process that was killed with the same id goes first.
  ctx.files.Remove(folder + "/" + kOwnFolderIniName);
  ctx.files.RemoveFolder(folder);
  if (!ctx.files.MakeFolder(folder)) return false;
  ctx.rfc.temporaryIniPresent.store(true);
  FilePtr file = ctx.files.Open(folder + "/" + kOwnFolderIniName, "wb");
  bool written = file && std::fwrite(ini.data(), 1, ini.size(), file.get()) == ini.size();
  if (file && std::fclose(file.release()) != 0) written = false;
  if (!written) RemoveTemporaryIni(ctx);
  return written;
}

ConnectionHandle Logged(RunContext& ctx, ConnectionHandle handle) {
  WriteLogLine(ctx, static_cast<std::int32_t>(handle), "RfcOpenConnection called", "");
  return handle;
}

}  // namespace

ConnectionHandle OpenConnection(RunContext& ctx) {
  EnterStep(ctx, "OpenConnection");
  LibraryState& rfc = NwState(ctx);
  const ConnectionCopies& c = ctx.rfc.copies;
  ctx.rfc.openFailure.clear();
  CopyConnectionFields(ctx);
  rfc.parameterTexts.clear();

  std::string destinationIniName;
  FilePtr destinationIni = OpenDestinationFile(ctx, destinationIniName);
  if (!destinationIni) {
    // An R/2 system is reached through its gateway, which this library does not serve as a
    // client: without an application server it refuses the connection.
    if (c.mode != "R/2" && !c.hostname.empty()) AddParameter(rfc, "ashost", c.hostname);
    if (!c.sysnr.empty()) rfc.systemNumber = TwoDigits(LeadingNumber(c.sysnr));
    AddParameter(rfc, "sysnr", rfc.systemNumber);
    if (c.mode == "R/2") {
      if (!c.gwhost.empty()) AddParameter(rfc, "gwhost", c.gwhost);
      if (!c.gwservice.empty()) AddParameter(rfc, "gwserv", c.gwservice);
    }
    AddParameter(rfc, "client", c.client);
    AddParameter(rfc, "user", c.user);
    AddParameter(rfc, "passwd", c.password);
    AddParameter(rfc, "lang", c.language);
    return Logged(ctx, Open(ctx, rfc));
  }

  AnnounceDestinationRoute(ctx);
  std::string text;
  const bool read = ReadWhole(destinationIni.get(), text);
  destinationIni.reset();
  if (!read) return GiveUpOpen(ctx, destinationIniName + " cannot be read");
  const TranslatedDestinations translated = TranslateDestinationFile(text, destinationIniName);
  if (!translated.error.empty()) {
    const std::string reason = destinationIniName + " " + translated.error;
    // A single run's Error 1011 carries the reason; a global run counts the system as failed
    // without a message, so this line alone tells the operator why.
    if (ctx.globalRun) ctx.console.WriteError("* " + reason + "\n");
    return GiveUpOpen(ctx, reason);
  }
  // The destination route logs on in German, as the classic library's connect string does.
  AddParameter(rfc, "dest", c.destination);
  AddParameter(rfc, "client", c.client);
  AddParameter(rfc, "user", c.user);
  AddParameter(rfc, "passwd", c.password);
  AddParameter(rfc, "lang", "D");
  // sapnwrfc.ini goes into a folder of this probe's own, which no other probe of the sensor
  // folder reads or writes: no lock is needed, so a logon that hangs keeps no other probe
  // waiting, and an sapnwrfc.ini of the operator's in the working directory is never touched.
  // The folder is gone again as soon as the library has opened.
  const std::string& folder = TemporaryIniName(ctx);
  if (!WriteOwnIni(ctx, folder, translated.ini)) {
    return GiveUpOpen(ctx, std::string(kNwRfcIniName) + " cannot be written from " +
                               destinationIniName + " in the working directory");
  }
  // The library may keep sapnwrfc.ini once read (a global run opens one destination after
  // another): naming the folder makes it read the file just written.
  rfc.lastError = NwErrorInfo{};
  EnterStep(ctx, "RfcSetIniPath");
  ConnectionHandle handle = 0;
  if (rfc.operations.RfcSetIniPath(ToSapText(folder, CodePage::Latin1).c_str(), &rfc.lastError) ==
      NW_OK) {
    handle = Open(ctx, rfc);
  }
  RemoveTemporaryIni(ctx);
  return Logged(ctx, handle);
}

void CloseConnection(RunContext& ctx) {
  if (ctx.connectionHandle == 0) return;
  LibraryState& rfc = NwState(ctx);
  if (rfc.connection != nullptr) {
    EnterStep(ctx, "RfcCloseConnection");
    NwErrorInfo ignored{};
    rfc.operations.RfcCloseConnection(rfc.connection, &ignored);
    rfc.connection = nullptr;
  }
  ctx.connectionHandle = 0;
}

}  // namespace kelvoran
