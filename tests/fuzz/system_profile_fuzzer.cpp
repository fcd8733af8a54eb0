// The system profile, read strictly (single-system run) and leniently (each system of a global
// run), with the password decoder. The first byte picks the reading (bit 0) and the flavour
// (bits 1 to 3); the rest is the profile PRD.P00, which reaches system PRD of the demo.
#include "driver/profile_password.h"
#include "fuzz/fuzz_support.h"

namespace {

// A stored password that is well formed and verifies yields a password that the encoder stores
// again in a form that decodes to the same.
void CheckPassword(std::string_view stored) {
  using namespace kelvoran;
  const DecodedPassword decoded = DecodeProfilePassword(stored);
  if (!decoded.wellFormed || !decoded.verified) return;
  if (decoded.password.size() > kLongestProfilePassword) {
    fuzz::Violation("password too long", stored);
  }
  const EncodedPassword again = EncodeProfilePassword(decoded.password);
  if (!again.error.empty()) return;  // not every password has a printable stored form
  const DecodedPassword round = DecodeProfilePassword(again.stored);
  if (!round.verified || round.password != decoded.password) {
    fuzz::Violation("encoded password does not decode to itself", decoded.password);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kelvoran;
  static const std::string landscape = fuzz::DemoFile("Landscape.ini");
  if (size == 0) return 0;
  const bool lenient = (data[0] & 1) != 0;
  const std::string flavour = std::string("FLAVOUR=") + fuzz::kFlavourNames[(data[0] >> 1) % 5];
  const std::string profile = fuzz::Text(data + 1, size - 1);

  const std::size_t password = profile.find("Password...:");
  if (password != std::string::npos) {
    const std::size_t begin = password + 13;
    if (begin <= profile.size()) {
      std::string_view stored = std::string_view(profile).substr(begin);
      stored = stored.substr(0, stored.find('\n'));
      if (!stored.empty() && stored.back() == '\r') stored.remove_suffix(1);
      CheckPassword(stored);
    }
  }

  fuzz::FuzzFileSystem files;
  fuzz::AddDemoFolder(files);
  files.Add("PRD.P00", profile);
  files.Add("Almandor.Prf", "# Gsng: Fuzz        PRD.P00#QAS.P00#\n");
  const std::vector<std::string> args =
      lenient ? std::vector<std::string>{"x", "ITEM=Fuzz " + flavour}
              : std::vector<std::string>{"PRD", flavour};
  fuzz::CheckRun(fuzz::RunProbe(files, args, landscape));
  return 0;
}
