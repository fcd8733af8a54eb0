#include "rfc/temporary_ini.h"

#include "platform/process_id.h"
#include "run_context.h"

namespace kelvoran {

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
  if (ctx.rfc.temporaryIniPresent.exchange(false)) ctx.files.Remove(ctx.rfc.temporaryIni);
}

}  // namespace kelvoran
