/// The run context: everything the probe keeps for the whole process, in one record that is
/// built at the top of the run and passed by reference to every operation.
#ifndef KELVORAN_RUN_CONTEXT_H
#define KELVORAN_RUN_CONTEXT_H

#include <chrono>
#include <cstdint>
#include <ctime>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "output/host_flavour.h"
#include "output/output_buffer.h"
#include "platform/append_file.h"
#include "platform/clock.h"
#include "platform/console.h"
#include "platform/deadline.h"
#include "platform/file_system.h"
#include "platform/folder_lock.h"
#include "rfc/connection.h"
#include "rfc/rfc_state.h"
#include "step_report.h"

namespace kelvoran {

/// The settings of one SAP system, as read from its profile.
struct SystemProfile {
  std::string extcompany, destination, client, user, password, language, mode, hostname, sysnr,
      gwhost, gwservice;
};

/// A listed system's verdict in a global run, as its channel's value (",DETAIL").
enum class ListedVerdict { Processed = 0, RfcFailure = 1, NotFound = 2, NoProfile = 3 };

/// A listed system as the global run judged it.
struct JudgedSystem {
  std::string entry;
  ListedVerdict verdict = ListedVerdict::NoProfile;
  /// Why a system judged "Rfc Failure" failed its system check (",DETAIL" only).
  std::string message;
};

/// Status texts of an RFC step.
inline constexpr const char* kCallFailed = "ERR";
inline constexpr const char* kCallOk = "OK";

struct RunContext {
  RunContext(Console& console_, FileSystem& files_, Clock& clock_)
      : console(console_), files(files_), clock(clock_) {}
  RunContext(const RunContext&) = delete;
  RunContext& operator=(const RunContext&) = delete;

  // Seams to the outside world.
  Console& console;
  FileSystem& files;
  Clock& clock;

  /// The locks shared with the other probes of the working directory; null where there are
  /// none to coordinate with (unit tests of a single operation).
  FolderLock* folderLock = nullptr;

  // Output: the document being assembled, the host it is for, the channels written so far and
  // the log file (open only with ",SYSLOG").
  OutputBuffer output;
  HostFlavour hostFlavour = HostFlavour::ExeXml;
  std::int32_t channelCounter = 0;
  std::unique_ptr<AppendFile> logFile;

  // Command line.
  std::string programPath;
  /// When the run started; the start banner shows it.
  std::time_t startTime = 0;
  std::string startBanner;
  /// The option text as typed; option values are taken from it.
  std::string parameterText;
  /// `parameterText` in upper case; every option keyword is looked up in it.
  std::string parameterString;
  std::string profileName;
  std::string clientCode;
  std::string globalItem;
  /// The second command-line argument exactly as typed (the sensor named in a global run).
  std::string sensorArgument;
  bool globalRun = false;
  bool verboseMode = false;

  // Where the profile was found; `profileFile` is open from LocateProfile until it is read.
  std::string profileDirectory;
  std::string profilePath;
  FilePtr profileFile;

  // The system being measured.
  SystemProfile profile;
  std::string displayHost;
  bool profileInvalid = false;

  // Global runs.
  std::string serverListing;
  std::string systemEntry;
  bool sensorFound = false;
  /// The XML envelope's opening is on standard output: a fatal ending completes that document
  /// instead of starting another.
  bool envelopeOpen = false;
  /// Systems measured at the same time ("PARALLEL="); 1 measures them in turn in this process.
  unsigned parallel = 1;
  /// The executable may start itself for the systems of a global run (set by `main`). A run
  /// inside a test or a fuzz harness, over files in memory, measures its systems in turn.
  bool startsSystemProbes = false;
  unsigned systemCount = 0;
  unsigned processedCount = 0;
  unsigned failedCount = 0;
  /// ",DETAIL" in a global run, on the command line or among the sensor's options: a channel
  /// per system, the failed systems named, and a system check that fails judges its system
  /// instead of ending the run.
  bool globalDetail = false;
  /// Every listed system in listing order, as judged, and the longest measurement's time.
  std::vector<JudgedSystem> judged;
  std::uint64_t slowestMilliseconds = 0;

  // RFC steps.
  RfcState rfc;
  ConnectionHandle connectionHandle = 0;
  std::string callStatus;
  std::string databaseSystem;
  int lastQueryResult = 0;

  // The run's deadline ("TIMEOUT="): the seconds asked for (0: none), when the run started,
  // what the deadline prints, and its watchdog (last, so that it stops before the rest goes).
  unsigned timeoutSeconds = 0;
  std::chrono::steady_clock::time_point startedAt = std::chrono::steady_clock::now();
  DeadlineView deadlineView;
  /// A probe measuring one system for a parallel run tells its parent every step it enters,
  /// for the parent's deadline; empty elsewhere.
  std::function<void(std::string_view operation, std::optional<std::string_view> destination)>
      reportStep;
  Deadline deadline;
};

}  // namespace kelvoran

#endif
