// Both listings of a global run. The first byte picks the route (bit 0: the sensor listing
// "SAP Almandor.Gbl" with GLOBAL DEMO, else the item listing "Almandor.Prf" with ITEM=Demo) and
// the flavour (bits 1 to 3); the rest is the listing. The demo profiles are its systems.
#include "driver/global_listing.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kelvoran;
  static const std::string landscape = fuzz::DemoFile("Landscape.ini");
  if (size == 0) return 0;
  const bool sensor = (data[0] & 1) != 0;
  const std::string flavour = std::string("FLAVOUR=") + fuzz::kFlavourNames[(data[0] >> 1) % 5];
  fuzz::FuzzFileSystem files;
  fuzz::AddDemoFolder(files);
  files.Add(sensor ? kSensorListingName : kItemListingName, fuzz::Text(data + 1, size - 1));
  const std::vector<std::string> args =
      sensor ? std::vector<std::string>{"GLOBAL", "DEMO " + flavour}
             : std::vector<std::string>{"x", "ITEM=Demo", flavour};
  fuzz::CheckRun(fuzz::RunProbe(files, args, landscape));
  return 0;
}
