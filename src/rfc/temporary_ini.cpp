#include "rfc/temporary_ini.h"

#include "platform/file_system.h"
#include "platform/process_id.h"
#include "run_context.h"

namespace kelvoran {

namespace {

void RemoveNamed(FileSystem& files, const std::string& name) {
  if (files.Remove(name)) return;
  files.Remove(name + "/" + kOwnFolderIniName);
  files.RemoveFolder(name);
}

}  // namespace

const std::string& TemporaryIniName(RunContext& ctx) {
  if (ctx.rfc.temporaryIni.empty()) {
    ctx.rfc.temporaryIni = TemporaryIniNameOf(CurrentProcessId());
  }
  return ctx.rfc.temporaryIni;
}

std::string TemporaryIniNameOf(unsigned long processId) {
  return "Kelvoran." + std::to_string(processId) + ".tmp";
}

void RemoveTemporaryIni(RunContext& ctx) {
  if (ctx.rfc.temporaryIniPresent.exchange(false)) RemoveNamed(ctx.files, ctx.rfc.temporaryIni);
}

void RemoveTemporaryIniOf(FileSystem& files, unsigned long processId) {
  RemoveNamed(files, TemporaryIniNameOf(processId));
}

}  // namespace kelvoran
