// The command line and its option keywords: each line of the input is one argument (at most
// eight, as many as a monitor may hand over), run against the demo folder in the working
// directory.
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kelvoran;
  static const std::string landscape = fuzz::DemoFile("Landscape.ini");
  fuzz::FuzzFileSystem files;
  fuzz::AddDemoFolder(files);
  fuzz::CheckRun(fuzz::RunProbe(files, fuzz::Lines(fuzz::Text(data, size), 8), landscape));
  return 0;
}
