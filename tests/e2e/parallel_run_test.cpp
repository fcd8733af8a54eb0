// Global runs with "PARALLEL=n" end to end: every listing run both in turn and side by side,
// each in a folder of its own, must print the same bytes and end with the same status; the
// deadline and a killed probe must leave no child behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "e2e/probe_fixture.h"
#include "platform/folder_lock.h"

namespace kelvoran {
namespace {

// QAS is reached through its per-destination file, the others directly. TST's query fails,
// BAD refuses every connection, DEV's system check ends in an exception, ORA is no DB2 for
// IBM i, LIB's library fails inside RfcCall, HNG never answers its first RfcReceive.
constexpr const char* kLandscape =
    "[PRD]\nASHOST = sapprd01\nSYSNR = 00\nLOGON = 100 MONI PrdMoni01\n"
    "FS_A_DATE = 20241007\nFS_A_TIME = 061500\nTAB_CNT = 41234\n"
    "[QAS]\nASHOST = sapqas01\nSYSNR = 10\nLOGON = 100 MONI PrdMoni01\n"
    "[TST]\nASHOST = saptst01\nSYSNR = 50\nLOGON = 100 MONI PrdMoni01\n"
    "FAIL_RECEIVE = DB02_DB4_GET_INFO 1\n"
    "[BAD]\nASHOST = sapbad01\nSYSNR = 60\nLOGON = 100 MONI PrdMoni01\nFAIL_CONNECT = YES\n"
    "[DEV]\nASHOST = sapdev01\nSYSNR = 20\nLOGON = 100 MONI PrdMoni01\n"
    "FAIL_RECEIVE = RFC_SYSTEM_INFO 2 NOT_AUTHORIZED\n"
    "ERROR_MESSAGE = No RFC authorization for function group SRFC\n"
    "[ORA]\nASHOST = sapora01\nSYSNR = 30\nLOGON = 100 MONI PrdMoni01\nRFCDBSYS = ORACLE\n"
    "[LIB]\nASHOST = saplib01\nSYSNR = 40\nLOGON = 100 MONI PrdMoni01\nFAIL_HANDLER = RfcCall\n"
    "ERROR_KEY = RFC_ERROR_COMMUNICATION\nERROR_STATUS = CPI-C routine CMSEND failed\n"
    "ERROR_MESSAGE = connection reset by peer\nERROR_INTERNAL = 236\n"
    "[HNG]\nASHOST = saphng01\nSYSNR = 70\nLOGON = 100 MONI PrdMoni01\nHANG = RfcReceive\n"
    "[H2]\nASHOST = saph2\nSYSNR = 71\nLOGON = 100 MONI PrdMoni01\nHANG = RfcReceive\n"
    "[H3]\nASHOST = saph3\nSYSNR = 72\nLOGON = 100 MONI PrdMoni01\nHANG = RfcOpen\n"
    "[SL1]\nASHOST = sapsl1\nSYSNR = 81\nLOGON = 100 MONI PrdMoni01\nDELAY_OPEN = 1500\n"
    "[SL2]\nASHOST = sapsl2\nSYSNR = 82\nLOGON = 100 MONI PrdMoni01\nDELAY_OPEN = 1500\n"
    "[SL3]\nASHOST = sapsl3\nSYSNR = 83\nLOGON = 100 MONI PrdMoni01\nDELAY_OPEN = 1500\n"
    "[SL4]\nASHOST = sapsl4\nSYSNR = 84\nLOGON = 100 MONI PrdMoni01\nDELAY_OPEN = 1500\n"
    // Closing fails in the library, or never returns: on a measured system (CLF, CLH) and on
    // one that ends the run (ORF, ORH). HGX, reached through its per-destination file, never
    // answers its logon.
    "[CLF]\nASHOST = sapclf\nSYSNR = 91\nLOGON = 100 MONI PrdMoni01\nFAIL_HANDLER = RfcClose\n"
    "ERROR_KEY = RFC_ERROR_COMMUNICATION\nERROR_MESSAGE = connection reset while closing\n"
    "[CLH]\nASHOST = sapclh\nSYSNR = 92\nLOGON = 100 MONI PrdMoni01\nHANG = RfcClose\n"
    "[ORF]\nASHOST = saporf\nSYSNR = 93\nLOGON = 100 MONI PrdMoni01\nRFCDBSYS = ORACLE\n"
    "FAIL_HANDLER = RfcClose\nERROR_MESSAGE = connection reset while closing\n"
    "[ORH]\nASHOST = saporh\nSYSNR = 94\nLOGON = 100 MONI PrdMoni01\nRFCDBSYS = ORACLE\n"
    "HANG = RfcClose\n"
    "[HGX]\nASHOST = saphgx\nSYSNR = 95\nLOGON = 100 MONI PrdMoni01\nHANG = RfcOpenEx\n";

// The sensors of the listing: name, server listing and the sensor's own options.
struct Sensor {
  const char* name;
  const char* listing;  // null: no server listing line
  const char* options;
};

const Sensor kSensors[] = {
    // Every verdict, the per-destination route (QAS), a missing profile (NEW) and a profile
    // whose one-character client the lenient reading marks (INV).
    {"ALL", "PRD.P00#QAS.P00#TST.P00#BAD.P00#NEW.P00#INV.P00#PRD.P00#", ""},
    {"MISSING", "NEW.P00#", ""},
    {"NAMELESS", "#", ""},
    {"NOLIST", nullptr, ""},
    // Each fatal ending in the middle of the listing, with systems before and after it.
    {"CHECK", "PRD.P00#QAS.P00#DEV.P00#PRD.P00#QAS.P00#", ""},
    {"MISMATCH", "PRD.P00#NEW.P00#ORA.P00#QAS.P00#PRD.P00#", ""},
    {"LIBRARY", "PRD.P00#QAS.P00#LIB.P00#TST.P00#PRD.P00#", ""},
    // The sensor's options ask for the systems side by side.
    {"OWN", "PRD.P00#TST.P00#QAS.P00#BAD.P00#", "PARALLEL=3 "},
    {"LOGGED", "PRD.P00#QAS.P00#TST.P00#BAD.P00#PRD.P00#", "x,SYSLOG "},
    // Systems that need longer than the others, for the deadline.
    {"SLOW", "SL1.P00#SL2.P00#SL3.P00#SL4.P00#", ""},
    {"SLOWIN", "SL1.P00#SL2.P00#SL3.P00#SL4.P00#", "PARALLEL=1 "},
    {"SLOWSIDE", "SL1.P00#SL2.P00#SL3.P00#SL4.P00#", "PARALLEL=4 "},
    {"HANGING", "PRD.P00#HNG.P00#QAS.P00#PRD.P00#", ""},
    {"HANGS", "H2.P00#HNG.P00#H3.P00#H2.P00#", ""},
    {"KILLED", "PRD.P00#HNG.P00#QAS.P00#", "x,SYSLOG "},
    // Closing after the result, on the first or the third of four systems.
    {"CLF1", "CLF.P00#PRD.P00#QAS.P00#PRD.P00#", ""},
    {"CLF3", "PRD.P00#QAS.P00#CLF.P00#PRD.P00#", ""},
    {"CLH1", "CLH.P00#PRD.P00#QAS.P00#PRD.P00#", "TIMEOUT=2 "},
    {"CLH3", "PRD.P00#QAS.P00#CLH.P00#PRD.P00#", "TIMEOUT=2 "},
    {"ORF1", "ORF.P00#PRD.P00#QAS.P00#PRD.P00#", ""},
    {"ORF3", "PRD.P00#QAS.P00#ORF.P00#PRD.P00#", ""},
    {"ORH1", "ORH.P00#PRD.P00#QAS.P00#PRD.P00#", "TIMEOUT=2 "},
    {"ORH3", "PRD.P00#QAS.P00#ORH.P00#PRD.P00#", "TIMEOUT=2 "},
    // A system on the per-destination route, then one there that never answers its logon.
    {"LOCKWAIT", "QAS.P00#HGX.P00#", "TIMEOUT=2 "},
};

// A sensor folder with the landscape, the profiles and the listing.
class ParallelDirectory : public ProbeDirectory {
 public:
  ParallelDirectory() {
    WriteLandscape(kLandscape);
    const char* systems[][3] = {{"PRD", "sapprd01", "00"}, {"QAS", "nohost01", "10"},
                                {"TST", "saptst01", "50"}, {"BAD", "sapbad01", "60"},
                                {"DEV", "sapdev01", "20"}, {"ORA", "sapora01", "30"},
                                {"LIB", "saplib01", "40"}, {"HNG", "saphng01", "70"},
                                {"H2", "saph2", "71"},     {"H3", "saph3", "72"},
                                {"SL1", "sapsl1", "81"},   {"SL2", "sapsl2", "82"},
                                {"SL3", "sapsl3", "83"},   {"SL4", "sapsl4", "84"},
                                {"CLF", "sapclf", "91"},   {"CLH", "sapclh", "92"},
                                {"ORF", "saporf", "93"},   {"ORH", "saporh", "94"},
                                {"HGX", "saphgx", "95"}};
    for (const auto& system : systems) {
      WriteProfile(std::string(system[0]) + ".P00", System(system[0], system[1], system[2]));
    }
    ProfileSettings invalid = System("PRD", "sapprd01", "00");
    invalid.client = "1";
    WriteProfile("INV.P00", invalid);
    Write("SapRfc.QAS", "DEST=QAS\nTYPE=A\nASHOST=sapqas01\nSYSNR=10\n");
    Write("SapRfc.HGX", "DEST=HGX\nTYPE=A\nASHOST=saphgx\nSYSNR=95\n");
    std::string listing;
    for (const Sensor& sensor : kSensors) {
      std::string name = sensor.name;
      name.resize(10, ' ');
      if (sensor.listing != nullptr) listing += "# GSNG: " + name + "::" + sensor.listing + "\n";
      listing += "# GSNX: " + name + ":" + sensor.options +
                 "Item=Par,Sensor=\"SAP Kelvoran\"\n";
    }
    Write("SAP Almandor.Gbl", listing);
  }

  // True when no probe of the folder is in its RFC phase, within `grace`.
  bool NoProbeLeft(std::chrono::milliseconds grace) const {
    const auto until = std::chrono::steady_clock::now() + grace;
    for (;;) {
      FolderLock lock((Path() / kFolderLockFileName).string());
      if (lock.TryLockExclusive(FolderLockRange::RfcPhase)) return true;
      if (std::chrono::steady_clock::now() > until) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
  }

  // Waits until a probe of the folder is in its RFC phase (it holds the phase lock), at most
  // 20 s; false when none got there.
  bool ProbeInRfcPhase() const {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (NoProbeLeft(std::chrono::milliseconds(0))) {
      if (std::chrono::steady_clock::now() > until) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
  }

  bool TemporaryFileLeft() const {
    for (const auto& entry : std::filesystem::directory_iterator(Path())) {
      const std::string name = entry.path().filename().string();
      if (name.size() > 4 && name.substr(name.size() - 4) == ".tmp") return true;
    }
    return false;
  }
};

std::string MaskTimes(const std::string& text) {
  static const std::regex time("[0-9][0-9]:[0-9][0-9]:[0-9][0-9]");
  return std::regex_replace(text, time, "hh:mm:ss");
}

// The lines of a log without their connection numbers, sorted.
std::vector<std::string> LogTexts(const std::string& log) {
  static const std::regex number("^-?[0-9]+ ");
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = log.find('\n', start)) != std::string::npos; start = end + 1) {
    lines.push_back(std::regex_replace(log.substr(start, end - start), number, "n "));
  }
  EXPECT_EQ(start, log.size()) << "a cut line";
  std::sort(lines.begin(), lines.end());
  return lines;
}

struct Case {
  const char* sensor;
  const char* options;  // on the command line, after the sensor's name
};

const Case kCases[] = {
    {"ALL", ""},
    {"ALL", " FLAVOUR=Quellon"},
    {"ALL", " FLAVOUR=Vistrel"},
    {"ALL", " FLAVOUR=Brennick"},
    {"ALL", " FLAVOUR=Tolvane"},
    {"ALL", " #"},
    {"ALL", " FLAVOUR=Tolvane @"},
    {"ALL", " FLAVOUR=Vistrel $"},
    {"LOGGED", ""},
    {"MISSING", ""},
    {"NAMELESS", " FLAVOUR=Brennick"},
    {"NOLIST", ""},
    {"CHECK", ""},
    {"CHECK", " FLAVOUR=Quellon %"},
    {"CHECK", " FLAVOUR=Tolvane"},
    {"MISMATCH", ""},
    {"MISMATCH", " FLAVOUR=Vistrel #"},
    {"LIBRARY", ""},
    {"LIBRARY", " FLAVOUR=Brennick #"},
    {"LIBRARY", " FLAVOUR=Quellon"},
    {"CLF1", ""},
    {"CLF3", " FLAVOUR=Tolvane #"},
    {"CLH1", ""},
    {"CLH3", " FLAVOUR=Brennick"},
    {"ORF1", ""},
    {"ORF3", " FLAVOUR=Vistrel #"},
    {"ORH1", " FLAVOUR=Tolvane"},
    {"ORH3", ""},
};

std::ostream& operator<<(std::ostream& out, const Case& c) {
  return out << "GLOBAL \"" << c.sensor << c.options << "\"";
}

class InTurnAndSideBySide : public ::testing::TestWithParam<Case> {};

TEST_P(InTurnAndSideBySide, PrintTheSame) {
  const Case& c = GetParam();
  const std::string options = std::string(c.sensor) + c.options;
  ParallelDirectory inTurn;
  ParallelDirectory sideBySide;
  const ProcessResult expected = inTurn.Run({"GLOBAL", options});
  const ProcessResult got = sideBySide.Run({"GLOBAL", options + " PARALLEL=4"});
  EXPECT_EQ(MaskTimes(got.out), MaskTimes(expected.out));
  EXPECT_EQ(got.err, expected.err);
  EXPECT_EQ(got.status, expected.status);
  EXPECT_FALSE(sideBySide.TemporaryFileLeft());
  // The log has the same lines, whole, in the order the systems ended; each process numbers
  // its connections itself.
  if (inTurn.Exists("Kelvoran.Log")) {
    EXPECT_EQ(LogTexts(sideBySide.ReadText("Kelvoran.Log")), LogTexts(inTurn.ReadText("Kelvoran.Log")));
  }
}

INSTANTIATE_TEST_SUITE_P(Listings, InTurnAndSideBySide, ::testing::ValuesIn(kCases));

TEST(ParallelGlobalRunTest, SensorOptionsChooseTheRunToo) {
  ParallelDirectory inTurn;
  ParallelDirectory sideBySide;
  const ProcessResult expected = inTurn.Run({"GLOBAL", "OWN PARALLEL=1 FLAVOUR=Quellon"});
  const ProcessResult got = sideBySide.Run({"GLOBAL", "OWN FLAVOUR=Quellon"});
  EXPECT_EQ(got.out, expected.out);
  EXPECT_EQ(got.status, 0);
  EXPECT_NE(got.out.find("NoSystems=4, Processed=2, Failed=2"), std::string::npos) << got.out;
}

// Four systems that each take 1.5 s to open, against a deadline of 5 s: in turn they overrun
// it, side by side they do not. The sensor's options decide over the command line's.
TEST(ParallelGlobalRunTest, TheSensorsValueWins) {
  struct Run {
    const char* options;
    bool overruns;
  };
  for (const Run& run : {Run{"SLOW PARALLEL=4 TIMEOUT=5", false},
                         Run{"SLOWIN PARALLEL=4 TIMEOUT=5", true},
                         Run{"SLOWSIDE TIMEOUT=5", false}}) {
    ParallelDirectory dir;
    const ProcessResult result = dir.Run({"GLOBAL", run.options});
    if (run.overruns) {
      const std::string open = ForLibrary("RfcOpen", "RfcOpenConnection");
      EXPECT_EQ(result.out, OnConsole("\n<Prtg>\n\n" +
                                      ErrorDocumentRest("Error 1032: Timeout after 5 s in " +
                                                        open + " for SL4 !")))
          << run.options;
      EXPECT_EQ(result.status, 2);
    } else {
      EXPECT_NE(result.out.find("NoSystems=4, Processed=4, Failed=0"), std::string::npos)
          << run.options << "\n" << result.out;
      EXPECT_EQ(result.status, 0);
    }
  }
}

// A system that never answers among systems that do: the deadline names it, as the run in
// turn does, and no child is left.
TEST(ParallelGlobalRunTest, DeadlineWithAHangingSystem) {
  for (const char* options : {"HANGING TIMEOUT=1", "HANGING TIMEOUT=1 FLAVOUR=Tolvane #"}) {
    ParallelDirectory inTurn;
    ParallelDirectory sideBySide;
    const ProcessResult expected = inTurn.Run({"GLOBAL", options});
    const ProcessResult got = sideBySide.Run({"GLOBAL", std::string(options) + " PARALLEL=3"});
    EXPECT_NE(expected.out.find("Error 1032: Timeout after 1 s in " +
                                ForLibrary("RfcReceive", "RfcInvoke") + " for HNG !"),
              std::string::npos)
        << expected.out;
    EXPECT_EQ(MaskTimes(got.out), MaskTimes(expected.out));
    EXPECT_EQ(got.status, 2);
    EXPECT_TRUE(sideBySide.NoProbeLeft(std::chrono::milliseconds(2000)));
    EXPECT_FALSE(sideBySide.TemporaryFileLeft());
  }
}

// A monitor kills the probe while its children wait on systems that never answer: they end
// with it.
TEST(ParallelGlobalRunTest, KilledProbeLeavesNoChild) {
  ParallelDirectory dir;
  StartedProcess probe(ProbePath(), {"GLOBAL", "HANGS PARALLEL=4"}, dir.Path());
  ASSERT_TRUE(dir.ProbeInRfcPhase()) << "no child started";
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  probe.Kill();
  EXPECT_TRUE(dir.NoProbeLeft(std::chrono::milliseconds(2000)));
}

// Counts the lines of `text` that contain `piece`.
int CountLines(const std::string& text, const std::string& piece) {
  int count = 0;
  for (std::size_t at = 0; (at = text.find(piece, at)) != std::string::npos; at += piece.size()) {
    ++count;
  }
  return count;
}

// The probe of a system that never answers is killed from outside: it ends without a report,
// its system is judged "Rfc Failure" and the run goes on.
TEST(ParallelGlobalRunTest, SystemProbeEndedWithoutReport) {
  ParallelDirectory dir;
  StartedProcess probe(ProbePath(), {"GLOBAL", "KILLED PARALLEL=3 #"}, dir.Path());
  // PRD and QAS are done once both have received their two answers; HNG then waits for its
  // first one, after its first call.
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  for (;;) {
    const std::string log = dir.Exists("Kelvoran.Log") ? dir.Read("Kelvoran.Log") : "";
    // Over the NW RFC SDK one RfcInvoke does what RfcCall and RfcReceive do.
    const bool done = ProbeUsesClassicLibrary() ? CountLines(log, "RfcReceive called") >= 4 &&
                                                      CountLines(log, "RfcCall called") >= 5
                                                : CountLines(log, "RfcInvoke called") >= 4;
    if (done) break;
    ASSERT_LT(std::chrono::steady_clock::now(), until) << log;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  // Their probes have only their reports to write.
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  EXPECT_EQ(probe.KillChildren(), 1);
  const ProcessResult result = probe.Wait();
  EXPECT_EQ(result.status, 0);
  EXPECT_NE(result.out.find("HNG.P00, saphng01, HNG, 70, 100 State=Rfc Failure"), std::string::npos)
      << result.out;
  EXPECT_NE(result.out.find("NoSystems=3, Processed=2, Failed=1"), std::string::npos) << result.out;
}

// While a probe waits for the folder's SapRfc.ini lock, which another process holds, a
// deadline says that it waits, in turn and side by side alike. Over the NW RFC library no probe
// waits for it: QAS is measured, and the deadline strikes in HGX's logon.
TEST(ParallelGlobalRunTest, DeadlineWhileWaitingForTheSapRfcIniLock) {
  const std::string expected =
      "\n<Prtg>\n\n" +
      ErrorDocumentRest(ForLibrary("Error 1032: Timeout after 2 s in waiting for SapRfc.ini for QAS !",
                                   "Error 1032: Timeout after 2 s in RfcOpenConnection for HGX !"));
  for (const char* options : {"LOCKWAIT", "LOCKWAIT PARALLEL=2"}) {
    SCOPED_TRACE(options);
    ParallelDirectory dir;
    FolderLock other((dir.Path() / kFolderLockFileName).string());
    ASSERT_TRUE(other.TryLockExclusive(FolderLockRange::SapRfcIni));
    const ProcessResult result = dir.Run({"GLOBAL", options});
    EXPECT_EQ(result.out, OnConsole(expected));
    EXPECT_EQ(result.status, 2);
  }
}

// A later system whose logon never returns may hold the SapRfc.ini lock while an earlier one
// waits for it: the deadline then names the earlier system, waiting; otherwise the later one,
// in its logon, as in turn. Never the earlier one in a step it is not in.
TEST(ParallelGlobalRunTest, HangingLogonOfALaterSystemOnTheDestinationRoute) {
  ParallelDirectory inTurn;
  const ProcessResult expected = inTurn.Run({"GLOBAL", "LOCKWAIT"});
  const std::string logon = ForLibrary("RfcOpenEx", "RfcOpenConnection");
  EXPECT_NE(expected.out.find("Error 1032: Timeout after 2 s in " + logon + " for HGX !"),
            std::string::npos)
      << expected.out;
  const std::string waiting =
      "\n<Prtg>\n\n" +
      ErrorDocumentRest("Error 1032: Timeout after 2 s in waiting for SapRfc.ini for QAS !");
  for (int round = 0; round < 3; ++round) {
    ParallelDirectory dir;
    const ProcessResult got = dir.Run({"GLOBAL", "LOCKWAIT PARALLEL=2"});
    EXPECT_TRUE(got.out == expected.out || got.out == OnConsole(waiting)) << got.out;
    EXPECT_EQ(got.status, 2);
    EXPECT_TRUE(dir.NoProbeLeft(std::chrono::milliseconds(2000)));
  }
}

#ifndef _WIN32
// A monitor may start the probe with SIGCHLD ignored or with its standard input closed: the
// children's exit statuses and their standard input must survive either.
TEST(ParallelGlobalRunTest, StartedWithSigchldIgnoredOrStandardInputClosed) {
  struct Row {
    const char* label;
    const char* shell;  // runs the probe as "$0" "$@"
    const char* sensor;
  } rows[] = {
      {"SIGCHLD ignored", "trap '' CHLD; exec \"$0\" \"$@\"", "LIBRARY"},
      {"SIGCHLD ignored, closing fails", "trap '' CHLD; exec \"$0\" \"$@\"", "ORF3"},
      {"standard input closed", "exec \"$0\" \"$@\" <&-", "ALL"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.label);
    ParallelDirectory inTurn;
    ParallelDirectory sideBySide;
    const ProcessResult expected = inTurn.Run({"GLOBAL", row.sensor});
    const ProcessResult got = RunProcess(
        "/bin/sh", {"-c", row.shell, ProbePath(), "GLOBAL", std::string(row.sensor) + " PARALLEL=4"},
        sideBySide.Path());
    EXPECT_EQ(got.out, expected.out);
    EXPECT_EQ(got.status, expected.status);
  }
}
#endif

// The monitor's end of the probe's standard output must not be kept open by a system probe
// (the monitor reads until every writer has closed it): a child inherits nothing but its own
// streams, however inheritable the parent's handles are.
TEST(ParallelGlobalRunTest, SystemProbesDoNotHoldTheProbesStandardOutput) {
  ParallelDirectory dir;
  StartedProcess probe(ProbePath(), {"GLOBAL", "HANGS PARALLEL=4"}, dir.Path());
  ASSERT_TRUE(dir.ProbeInRfcPhase()) << "no child started";
  const StartedProcess::Holders holders = probe.ChildrenHoldingItsOutput();
  EXPECT_GT(holders.children, 0);
  EXPECT_EQ(holders.holding, 0);
}

TEST(ParallelGlobalRunTest, InvalidValues) {
  struct Row {
    std::vector<std::string> args;
    std::string value;
  };
  const Row rows[] = {
      {{"GLOBAL", "ALL PARALLEL=0"}, "0"},
      {{"GLOBAL", "ALL parallel=65"}, "65"},
      {{"GLOBAL", "ALL PARALLEL=4x"}, "4x"},
      {{"GLOBAL", "ALL PARALLEL="}, ""},
      {{"GLOBAL", "ALL PARALLEL=-2"}, "-2"},
      {{"PRD", "Parallel=2.5"}, "2.5"},
  };
  for (const Row& row : rows) {
    ParallelDirectory dir;
    const ProcessResult result = dir.Run(row.args);
    EXPECT_EQ(result.out,
              OnConsole(ErrorDocument("Error 1035: Invalid Parallel " + row.value + " found...")))
        << row.args[1];
    EXPECT_EQ(result.status, 2);
  }
}

TEST(ParallelGlobalRunTest, SingleSystemRunIgnoresTheKeyword) {
  ParallelDirectory plain;
  ParallelDirectory withKeyword;
  const ProcessResult expected = plain.Run({"PRD", "FLAVOUR=Brennick"});
  const ProcessResult got = withKeyword.Run({"PRD", "FLAVOUR=Brennick PARALLEL=8"});
  EXPECT_EQ(got.out, expected.out);
  EXPECT_EQ(got.status, 0);
}

}  // namespace
}  // namespace kelvoran
