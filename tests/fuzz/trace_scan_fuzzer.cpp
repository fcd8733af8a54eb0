// The trace-file scan: the input is Dev_Rfc.Trc. System PRD refuses its system check with an
// exception and writes no trace of its own, so the probe explains the failure from the input:
// in a single-system run (EXEXML and Tolvane) and as the fatal ending of a global run.
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kelvoran;
  static const std::string landscape =
      "[PRD]\nASHOST = sapprd01\nSYSNR = 00\nLOGON = 100 MONI PrdMoni01\n"
      "FAIL_RECEIVE = RFC_SYSTEM_INFO 2 NOT_AUTHORIZED\nFAIL_TRACE = YES\n";
  const std::vector<std::vector<std::string>> runs = {
      {"PRD"}, {"PRD", "FLAVOUR=Tolvane"}, {"x", "ITEM=Fuzz"}};
  for (const std::vector<std::string>& args : runs) {
    fuzz::FuzzFileSystem files;
    fuzz::AddDemoFolder(files);
    files.Add("Almandor.Prf", "# Gsng: Fuzz        PRD.P00#\n");
    files.Add("Dev_Rfc.Trc", fuzz::Text(data, size));
    fuzz::CheckRun(fuzz::RunProbe(files, args, landscape));
  }
  return 0;
}
