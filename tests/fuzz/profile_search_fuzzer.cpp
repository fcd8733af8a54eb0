// The profile search of the EXEXML flavour: the first line of the input is the profile named
// on the command line, the rest the content of C:\PRTG_Path.Txt. The demo profiles lie in the
// working directory and in PRTG's folders below C:\PRTG\ and D:\.
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kelvoran;
  static const std::string landscape = fuzz::DemoFile("Landscape.ini");
  const std::vector<std::string> parts = fuzz::Lines(fuzz::Text(data, size), 2);
  fuzz::FuzzFileSystem files;
  fuzz::AddDemoFolder(files);
  fuzz::AddDemoFolder(files, "C:\\PRTG\\Custom Sensors\\ExeXml\\");
  fuzz::AddDemoFolder(files, "D:\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\");
  fuzz::AddDemoFolder(files, "\\Program Files\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\");
  if (parts.size() > 1) files.Add("C:\\PRTG_Path.Txt", parts[1]);
  std::vector<std::string> args;
  if (!parts.empty()) args.push_back(parts[0]);
  fuzz::CheckRun(fuzz::RunProbe(files, args, landscape));
  return 0;
}
