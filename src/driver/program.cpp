#include "driver/program.h"

#include <string>
#include <string_view>
#include <utility>

#include "driver/command_line.h"
#include "driver/global_listing.h"
#include "driver/multi_run.h"
#include "driver/parallel_keyword.h"
#include "driver/profile_locator.h"
#include "driver/run_deadline.h"
#include "driver/single_run.h"
#include "driver/system_profile.h"
#include "rfc/db4_query.h"
#include "run_context.h"

namespace kelvoran {

namespace {

constexpr const char* kUsage =
    "Usage: kelvoran PROFILE [OPTIONS...]\n"
    "\n"
    "Measures an SAP R/3 system on DB2 for IBM i and prints one result document for the\n"
    "network monitor that started it.\n"
    "\n"
    "  PROFILE   system profile, such as PRD (read as PRD.P00) or D:\\cfg\\PRD.P01;\n"
    "            GLOBAL for a global run over the sensor listing \"SAP Almandor.Gbl\"\n"
    "  OPTIONS   the option text: every word after PROFILE, joined with one blank, at most\n"
    "            127 characters; in a global run by sensor its first word names the sensor\n"
    "\n"
    "Option keywords (any letter case):\n"
    "  ITEM=name      global run over \"Almandor.Prf\" with this item (':' reads as a blank)\n"
    "  FLAVOUR=name   host flavour: EXEXML (default), Quellon, Vistrel, Brennick, Tolvane\n"
    "  CH=n           Tolvane: print only the value of channel n\n"
    "  ,SYSLOG        append log lines to Kelvoran.Log in the working directory\n"
    "  ,DETAIL        nine more channels: storage pool used, objects missing in the\n"
    "                 database and unknown to the ABAP Dictionary (single-system runs)\n"
    "  ,HOST=name     connect to this application server instead of the profile's\n"
    "  ,NO=nn         connect with this system number instead of the profile's\n"
    "  CLIENT=nnn     client code (kept, not used)\n"
    "  TIMEOUT=n      end with an error document when the run is not over after n seconds\n"
    "                 (1 to 900; set it a few seconds below the monitor's sensor timeout)\n"
    "  PARALLEL=n     global run: measure up to n systems at the same time (1 to 64), each\n"
    "                 in a probe of its own; the document is the same as measured in turn\n"
    "  # @ $ %        any of these characters: console progress lines\n"
    "\n"
    "Profiles are read where PROFILE says for the other flavours. For EXEXML they are searched\n"
    "in PRTG's Custom Sensors\\ExeXml folder below the folder that C:\\PRTG_Path.Txt names;\n"
    "without that file, in the current directory first, then in PRTG's usual installation\n"
    "folders.\n"
    "\n"
    "Exit status: 0 document printed, 2 error document printed, 1 RFC library failure report.\n"
    "\n"
    "Builds: kelvoran.exe for 32-bit Windows over SAP's classic LIBRFC32.dll (for PRTG's\n"
    "probe machines); kelvoran.exe for 64-bit Windows over SAP's NW RFC SDK (sapnwrfc.dll);\n"
    "kelvoran for 64-bit Linux over the NW RFC SDK (libsapnwrfc.so). Each loads SAP's library\n"
    "when a run first needs it: from its own folder, then where the system looks for a\n"
    "program's libraries, never from the working directory (Error 1036 when it cannot). The\n"
    "classic Linux build is a development build with the simulated RFC library linked in.\n"
    "\n"
    "kelvoran --measure-system is internal: a global run with PARALLEL=n starts itself that way\n"
    "for each system; it is not for use by hand.\n";

// The run from the start time to the end of one of the two runs.
int Run(RunContext& ctx, int argc, const char* const* argv) {
  TakeStartTime(ctx);
  if (FatalError error = ParseCommandLine(ctx, argc, argv)) return FailRun(ctx, *error);
  ArmDeadline(ctx);
  if (ctx.verboseMode) BuildStartBanner(ctx);
  EnterStep(ctx, "LocateProfile", ctx.profileName);
  if (FatalError error = LocateProfile(ctx)) return FailRun(ctx, *error);

  if (ctx.globalRun) {
    // ",DETAIL" counts from the command line as well as from the sensor's options, which
    // replace the command line's.
    ctx.globalDetail = DetailRequested(ctx);
    EnterStep(ctx, "ReadGlobalListing", ctx.profileName);
    if (FatalError error = ReadGlobalListing(ctx)) return FailRun(ctx, *error);
    RebuildParameterString(ctx);
    ReadClientCode(ctx);
    ctx.globalDetail = ctx.globalDetail || DetailRequested(ctx);
    // The sensor's options may set the deadline too; it still counts from the start.
    if (FatalError error = ReadTimeout(ctx)) return FailRun(ctx, *error);
    if (FatalError error = ReadParallel(ctx)) return FailRun(ctx, *error);
    ArmDeadline(ctx);
    if (ctx.verboseMode) ctx.console.Write(ctx.startBanner + "\n");
    return RunAllSystems(ctx);
  }

  EnterStep(ctx, "ReadSystemProfile", ctx.profileName);
  if (FatalError error = ReadSystemProfile(ctx, std::move(ctx.profileFile), ProfileReading::Strict))
    return FailRun(ctx, *error);
  return RunSingleSystem(ctx);
}

}  // namespace

int RunProgram(RunContext& ctx, int argc, const char* const* argv) {
  if (argc >= 2 && argv[1] != nullptr) {
    const std::string_view first = argv[1];
    if (first == "--help" || first == "-h") {
      ctx.console.Write(kUsage);
      return kExitCompleted;
    }
    if (first == "--version") {
      ctx.console.Write(std::string(kProductName) + " " + kVersionText + "\n");
      return kExitCompleted;
    }
  }

  const int status = Run(ctx, argc, argv);
  DisarmDeadline(ctx);
  return status;
}

}  // namespace kelvoran
