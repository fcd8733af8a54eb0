// Many probes started together in one sensor folder, as a monitor starts the sensors of one
// interval: the built probe run from several threads at once, round after round, in the same
// working directory. Every probe must print exactly what it prints when it runs alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "e2e/probe_fixture.h"

namespace kelvoran {
namespace {

// PRD and QAS are reached only through their per-destination files (their profiles name a
// host that no system has), so a SapRfc.ini of another destination gives a false Error 1011.
// TST is reached directly. DEV fails its system check, with a trace line of its own; it is
// reached directly as DEV and through SapRfc.DVD as DVD.
const std::string kLandscape =
    "[PRD]\nASHOST = sapprd01\nSYSNR = 00\nLOGON = 100 MONI Secret01\n"
    "FS_A_DATE = 20241007\nFS_A_TIME = 061500\nTAB_CNT = 41234\n"
    "[QAS]\nASHOST = sapqas01\nSYSNR = 10\nLOGON = 100 MONI Secret01\n"
    "FS_A_DATE = 20241007\nFS_A_TIME = 061500\nTAB_CNT = 40112\n"
    "[TST]\nASHOST = saptst01\nSYSNR = 40\nLOGON = 100 MONI Secret01\n"
    "FS_A_DATE = 20241007\nFS_A_TIME = 061500\nTAB_CNT = 39001\n"
    "[DEV]\nASHOST = sapdev01\nSYSNR = 20\nLOGON = 100 MONI Secret01\n"
    "FAIL_RECEIVE = RFC_SYSTEM_INFO 2 NOT_AUTHORIZED\n"
    "ERROR_MESSAGE = No RFC authorization for function group SRFC\n";

const std::string kOwnTraceLine = "NOT_AUTHORIZED - No RFC authorization for function group SRFC";

struct Probe {
  const char* profile;
  const char* destination;
  const char* host;
  const char* sysnr;
  const char* destinationFile;  // SapRfc.<destination>, null on the direct route
  int status;                   // when it runs alone
};

const Probe kProbes[] = {
    {"PRD", "PRD", "nohost01", "00", "DEST=PRD\r\nASHOST=sapprd01\r\nSYSNR=00\r\n", 0},
    {"QAS", "QAS", "nohost01", "00", "DEST=QAS\nTYPE=A\nASHOST=sapqas01\nSYSNR=10\n", 0},
    {"TST", "TST", "saptst01", "40", nullptr, 0},
    {"DEV", "DEV", "sapdev01", "20", nullptr, 2},
    {"DVD", "DVD", "nohost01", "00", "DEST=DVD\nASHOST=sapdev01\nSYSNR=20\n", 2},
};
constexpr int kDev = 3;
constexpr int kDvd = 4;

void WriteFolder(const ProbeDirectory& dir) {
  dir.WriteLandscape(kLandscape);
  for (const Probe& probe : kProbes) {
    ProfileSettings settings;
    settings.destination = probe.destination;
    settings.hostname = probe.host;
    settings.sysnr = probe.sysnr;
    settings.password = "Secret01";
    dir.WriteProfile(std::string(probe.profile) + ".P00", settings);
    if (probe.destinationFile != nullptr) {
      dir.Write(std::string("SapRfc.") + probe.destination, probe.destinationFile);
    }
  }
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// A probe's run alone in a folder of its own: what it prints and how many log lines it writes.
struct AloneRun {
  ProcessResult result;
  std::size_t logLines = 0;
};

AloneRun RunAlone(const Probe& probe) {
  ProbeDirectory dir;
  WriteFolder(dir);
  AloneRun run;
  run.result = dir.Run({probe.profile, ",SYSLOG"});
  run.logLines = Lines(dir.ReadText("Kelvoran.Log")).size();
  return run;
}

// Four probes at once, 25 times: the two per-destination probes, the direct one and one of
// the failing ones (on the direct route in even rounds, through its own file in odd ones).
// Each round's failing probe is the only one that writes to the trace file, so its failure is
// the last one written before its scan: it must always show its own trace line.
TEST(SharedFolderTest, ProbesStartedTogetherNeverDisturbEachOther) {
  if (!ProbeUsesClassicLibrary()) GTEST_SKIP() << "SapRfc.ini and the trace file are classic";
  constexpr int kRounds = 25;

  // What each probe prints alone; the failing one shows its own trace line.
  std::vector<AloneRun> alone;
  for (const Probe& probe : kProbes) {
    alone.push_back(RunAlone(probe));
    const ProcessResult& result = alone.back().result;
    ASSERT_EQ(result.status, probe.status) << probe.profile << ": " << result.out;
    ASSERT_GT(alone.back().logLines, 0u) << probe.profile;
  }
  for (int failing : {kDev, kDvd}) {
    const std::string& out = alone[failing].result.out;
    ASSERT_NE(out.find(kOwnTraceLine), std::string::npos) << out;
  }

  ProbeDirectory dir;
  WriteFolder(dir);
  std::set<std::string> wholeFiles;
  for (const Probe& probe : kProbes) {
    if (probe.destinationFile != nullptr) wholeFiles.insert(probe.destinationFile);
  }
  std::set<std::string> known = {"Landscape.ini", "SapRfc.ini", "Dev_Rfc.Trc", "Kelvoran.Log",
                                 "Kelvoran.Lck"};
  for (const Probe& probe : kProbes) {
    known.insert(std::string(probe.profile) + ".P00");
    if (probe.destinationFile != nullptr) known.insert(std::string("SapRfc.") + probe.destination);
  }

  int runs = 0;
  int differing = 0;
  std::size_t logLines = 0;
  std::vector<std::string> faults;  // the first few, to show what went wrong
  auto fault = [&](const std::string& text) {
    if (faults.size() < 8) faults.push_back(text);
  };
  for (int round = 0; round < kRounds; ++round) {
    const int started[] = {0, 1, 2, round % 2 == 0 ? kDev : kDvd};
    ProcessResult results[4];
    std::vector<std::thread> threads;
    for (int i = 0; i < 4; ++i) {
      threads.emplace_back([&, i] {
        results[i] = dir.Run({kProbes[started[i]].profile, ",SYSLOG"});
      });
    }
    for (std::thread& thread : threads) thread.join();

    for (int i = 0; i < 4; ++i) {
      const ProcessResult& expected = alone[started[i]].result;
      ++runs;
      logLines += alone[started[i]].logLines;
      if (results[i].out != expected.out || results[i].status != expected.status) {
        ++differing;
        fault("round " + std::to_string(round) + ", " + kProbes[started[i]].profile +
              " (status " + std::to_string(results[i].status) + "): " + results[i].out);
      }
    }
    const std::string rfcIni = dir.Read("SapRfc.ini");
    if (wholeFiles.count(rfcIni) == 0) {
      fault("round " + std::to_string(round) + ": SapRfc.ini " + rfcIni);
    }
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
      const std::string name = entry.path().filename().string();
      if (known.count(name) == 0) fault("round " + std::to_string(round) + ": file " + name);
    }
  }
  EXPECT_EQ(differing, 0) << "of " << runs << " runs";
  EXPECT_TRUE(faults.empty()) << ::testing::PrintToString(faults);

  // Every probe's log lines arrived whole: as many as alone, none cut or run together.
  const std::regex kLogLine(
      "-?[0-9]+ (program started .+|RfcEnvironment called |RfcOpen called |RfcOpenEx called |"
      "RfcCall called |RfcReceive called )");
  const std::vector<std::string> log = Lines(dir.ReadText("Kelvoran.Log"));
  EXPECT_EQ(log.size(), logLines);
  for (const std::string& line : log) {
    EXPECT_TRUE(std::regex_match(line, kLogLine)) << line;
  }
  // And the library's trace entries, whatever of them is left, are whole lines too.
  const std::regex kTraceLine(
      "\\*\\*\\*\\* ERROR file opened at .+|ERROR       .+|T:[0-9]{4} ======> .+");
  for (const std::string& line : Lines(dir.ReadText("Dev_Rfc.Trc"))) {
    EXPECT_TRUE(std::regex_match(line, kTraceLine)) << line;
  }
}

}  // namespace
}  // namespace kelvoran
