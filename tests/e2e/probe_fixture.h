// A working directory for end-to-end runs of the probe: system profiles, a landscape of
// simulated SAP systems, and the probe run in it as the monitor starts it.
#ifndef KELVORAN_TESTS_E2E_PROBE_FIXTURE_H
#define KELVORAN_TESTS_E2E_PROBE_FIXTURE_H

#include <string>
#include <vector>

#include "e2e/probe_runner.h"
#include "support/temp_dir.h"

namespace kelvoran {

/// The settings of one profile, in clear; `password` is stored encoded.
struct ProfileSettings {
  std::string destination = "PRD";
  std::string client = "100";
  std::string user = "moni";
  std::string password = "PrdMoni01";
  std::string language = "E";
  std::string mode = "R/3";
  std::string hostname = "sapprd01";
  std::string sysnr = "00";
  std::string gwhost = "sapgw01";
  std::string gwservice = "sapgw00";
  std::string extcompany = "ACME";
};

/// The settings of a system reached directly, by its host and system number.
inline ProfileSettings System(const char* destination, const char* host, const char* sysnr) {
  ProfileSettings settings;
  settings.destination = destination;
  settings.hostname = host;
  settings.sysnr = sysnr;
  return settings;
}

/// The profile file for `settings`, with CR LF line ends.
std::string ProfileText(const ProfileSettings& settings);

/// The error document for `message`, as the probe prints it.
std::string ErrorDocument(const std::string& message);
/// The rest of the error document for `message` that completes an XML envelope already opened
/// by a global run.
std::string ErrorDocumentRest(const std::string& message);

class ProbeDirectory : public TempDir {
 public:
  void WriteProfile(const std::string& fileName, const ProfileSettings& settings) const {
    Write(fileName, ProfileText(settings));
  }
  void WriteLandscape(const std::string& text) const { Write("Landscape.ini", text); }
  ProcessResult Run(const std::vector<std::string>& args) const {
    return RunProcess(ProbePath(), args, Path());
  }
};

}  // namespace kelvoran

#endif
