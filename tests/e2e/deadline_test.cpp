// The run deadline end to end: systems of the landscape that answer slowly or never, the probe
// started with "TIMEOUT=", and what reaches standard output, with the exit status and the time
// the process took. Each case of a hanging system costs its deadline (1 s): they are separate
// tests so that CTest can run them side by side.
#include <gtest/gtest.h>

#include <chrono>
#include <ostream>
#include <string>
#include <vector>

#include "e2e/probe_fixture.h"

namespace kelvoran {
namespace {

using Clock = std::chrono::steady_clock;

// Three systems; the one named HANGS is completed with the case's own lines. Date and time
// are fixed, so that documents do not change from run to run.
std::string Landscape(const std::string& extra) {
  std::string text;
  for (const char* system : {"QAS sapqas01 10", "TST saptst01 50", "PRD sapprd01 00"}) {
    const std::string s = system;
    text += "[" + s.substr(0, 3) + "]\nASHOST = " + s.substr(4, 8) + "\nSYSNR = " +
            s.substr(13) + "\nLOGON = 100 MONI PrdMoni01\nFS_A_DATE = 20241007\n" +
            "FS_A_TIME = 061500\n";
  }
  return text + extra;
}

// A working directory with the three systems, their profiles and a sensor G3 that measures
// PRD last, after QAS and TST.
class DeadlineDirectory : public ProbeDirectory {
 public:
  explicit DeadlineDirectory(const std::string& prdLines,
                             const std::string& sensorOptions = "Item=Three") {
    WriteLandscape(Landscape(prdLines));
    for (const char* system : {"QAS sapqas01 10", "TST saptst01 50", "PRD sapprd01 00"}) {
      const std::string s = system;
      ProfileSettings settings;
      settings.destination = s.substr(0, 3);
      settings.hostname = s.substr(4, 8);
      settings.sysnr = s.substr(13);
      WriteProfile(s.substr(0, 3) + ".P00", settings);
    }
    Write("SAP Almandor.Gbl", "# GSNG: G3        ::QAS.P00#TST.P00#PRD.P00#\n"
                              "# GSNX: G3        :" + sensorOptions + ",Sensor=\"SAP Kelvoran\"\n");
  }
};

struct TimedResult {
  ProcessResult process;
  double seconds;
};

TimedResult TimedRun(const ProbeDirectory& dir, const std::vector<std::string>& args) {
  const Clock::time_point start = Clock::now();
  ProcessResult process = dir.Run(args);
  return {process, std::chrono::duration<double>(Clock::now() - start).count()};
}

// A global run's standard output up to the document that ends it: the envelope opening (empty
// in the text flavours) and its line feed.
std::string EnvelopeOpening(const std::string& flavour) {
  return flavour == "Brennick" || flavour == "Tolvane" ? "\n" : "\n<Prtg>\n\n";
}

std::string Ending(const std::string& flavour, const std::string& message) {
  return flavour == "Brennick" || flavour == "Tolvane" ? ErrorDocument(message)
                                                      : ErrorDocumentRest(message);
}

struct HangCase {
  const char* name;
  const char* hang;  // the HANG line of PRD
  bool global;
  const char* flavour;
  const char* operation;  // the operation the message names
  bool viaDestinationFile = false;  // PRD reached through SapRfc.PRD and RfcOpenEx
};

void PrintTo(const HangCase& c, std::ostream* out) { *out << c.name; }

// The operation of the NW RFC SDK that does what a classic operation does.
std::string NwOperation(const std::string& classic) {
  if (classic == "RfcOpen" || classic == "RfcOpenEx") return "RfcOpenConnection";
  if (classic == "RfcCall" || classic == "RfcReceive") return "RfcInvoke";
  if (classic == "RfcClose") return "RfcCloseConnection";
  return classic;
}

class HangingSystemTest : public ::testing::TestWithParam<HangCase> {};

TEST_P(HangingSystemTest, DeadlinePrintsTheTimeoutDocument) {
  const HangCase& c = GetParam();
  const std::string flavour = c.flavour;
  DeadlineDirectory dir(std::string("HANG = ") + c.hang + "\n",
                        c.global ? "Item=Three,TIMEOUT=1" : "Item=Three");
  // The line announcing SapRfc.PRD goes to standard error in the XML flavours.
  std::string prefix, errorLine;
  if (c.viaDestinationFile) {
    dir.Write("SapRfc.PRD", "DEST=PRD\r\nASHOST=sapprd01\r\nSYSNR=00\r\n");
    const bool xml = flavour == "EXEXML" || flavour == "Quellon" || flavour == "Vistrel";
    (xml ? errorLine : prefix) = "* SapRfc.Ini.......: PRD<\n";
  }
  // The single run takes the deadline from the command line, the global run from the
  // sensor's options.
  const TimedResult r = c.global ? TimedRun(dir, {"GLOBAL", "G3", "FLAVOUR=" + flavour})
                                 : TimedRun(dir, {"PRD", "TIMEOUT=1 FLAVOUR=" + flavour});

  const std::string message = "Error 1032: Timeout after 1 s in " +
                              ForLibrary(c.operation, NwOperation(c.operation)) + " for PRD !";
  const std::string expected =
      c.global ? EnvelopeOpening(flavour) + Ending(flavour, message) : prefix + ErrorDocument(message);
  EXPECT_EQ(r.process.out, OnConsole(expected));
  EXPECT_EQ(r.process.err, OnConsole(errorLine));
  EXPECT_EQ(r.process.status, 2);
  // Not before the deadline, and the document soon after it (the bound leaves room for a
  // loaded machine; a deadline that waits for anything else overruns it by far).
  EXPECT_GE(r.seconds, 1.0);
  EXPECT_LT(r.seconds, 4.0);
}

INSTANTIATE_TEST_SUITE_P(
    , HangingSystemTest,
    ::testing::Values(
        HangCase{"SingleOpen", "RfcOpen", false, "EXEXML", "RfcOpen"},
        HangCase{"SingleOpenEx", "RfcOpenEx", false, "EXEXML", "RfcOpenEx", true},
        HangCase{"SingleCall", "RfcCall", false, "EXEXML", "RfcCall"},
        HangCase{"SingleReceive", "RfcReceive", false, "EXEXML", "RfcReceive"},
        HangCase{"SingleReceiveQuellon", "RfcReceive", false, "Quellon", "RfcReceive"},
        HangCase{"SingleReceiveVistrel", "RfcReceive", false, "Vistrel", "RfcReceive"},
        HangCase{"SingleReceiveBrennick", "RfcReceive", false, "Brennick", "RfcReceive"},
        HangCase{"SingleReceiveTolvane", "RfcReceive", false, "Tolvane", "RfcReceive"},
        HangCase{"SingleClose", "RfcClose", false, "EXEXML", "RfcClose"},
        HangCase{"GlobalOpen", "RfcOpen", true, "EXEXML", "RfcOpen"},
        HangCase{"GlobalCall", "RfcCall", true, "EXEXML", "RfcCall"},
        HangCase{"GlobalReceive", "RfcReceive", true, "EXEXML", "RfcReceive"},
        HangCase{"GlobalQueryReceive", "RfcReceive DB02_DB4_GET_INFO", true, "EXEXML",
                 "RfcReceive"},
        HangCase{"GlobalReceiveQuellon", "RfcReceive", true, "Quellon", "RfcReceive"},
        HangCase{"GlobalReceiveVistrel", "RfcReceive", true, "Vistrel", "RfcReceive"},
        HangCase{"GlobalReceiveBrennick", "RfcReceive", true, "Brennick", "RfcReceive"},
        HangCase{"GlobalReceiveTolvane", "RfcReceive", true, "Tolvane", "RfcReceive"}),
    [](const ::testing::TestParamInfo<HangCase>& info) { return std::string(info.param.name); });

// PRTG hands its Parameters field over as separate words: a deadline in the last of them ends
// a hanging run like one given in the first.
struct WordsCase {
  const char* name;
  std::vector<std::string> args;
  const char* flavour;
};

void PrintTo(const WordsCase& c, std::ostream* out) { *out << c.name; }

class TimeoutInTheLastWordTest : public ::testing::TestWithParam<WordsCase> {};

TEST_P(TimeoutInTheLastWordTest, EndsTheHangingRun) {
  const WordsCase& c = GetParam();
  DeadlineDirectory dir("HANG = RfcReceive\n");
  const TimedResult r = TimedRun(dir, c.args);
  const std::string message = "Error 1032: Timeout after 1 s in " +
                              ForLibrary("RfcReceive", NwOperation("RfcReceive")) + " for PRD !";
  const std::string expected = c.args[0] == "GLOBAL"
                                   ? EnvelopeOpening(c.flavour) + Ending(c.flavour, message)
                                   : ErrorDocument(message);
  EXPECT_EQ(r.process.out, OnConsole(expected));
  EXPECT_EQ(r.process.status, 2);
  EXPECT_GE(r.seconds, 1.0);
  EXPECT_LT(r.seconds, 1.5);
}

INSTANTIATE_TEST_SUITE_P(
    , TimeoutInTheLastWordTest,
    ::testing::Values(
        WordsCase{"ThreeWords", {"PRD", "TIMEOUT=1"}, "EXEXML"},
        WordsCase{"FiveWords", {"PRD", ",DETAIL", ",SYSLOG", "TIMEOUT=1"}, "EXEXML"},
        WordsCase{"EightWords",
                  {"PRD", "a", "b:c", "FLAVOUR=Tolvane", "", "CH=2", "TIMEOUT=1"},
                  "Tolvane"},
        WordsCase{"GlobalSixWords", {"GLOBAL", "G3", "x", "y", "TIMEOUT=1"}, "EXEXML"}),
    [](const ::testing::TestParamInfo<WordsCase>& info) { return std::string(info.param.name); });

// A document that is out before the deadline is the run's last word: a system that then hangs
// in its close makes the deadline end the process, but prints nothing more.
TEST(DeadlineEndToEndTest, NothingFollowsADocumentAlreadyPrinted) {
  DeadlineDirectory dir("RFCDBSYS = ORACLE\nHANG = RfcClose\n", "Item=Three,TIMEOUT=1");
  const TimedResult r = TimedRun(dir, {"GLOBAL", "G3"});
  EXPECT_EQ(r.process.out,
            OnConsole(EnvelopeOpening("EXEXML") +
                      ErrorDocumentRest("Error 1018: DataBase mismatch !")));
  EXPECT_EQ(r.process.status, 2);
  EXPECT_GE(r.seconds, 1.0);
}

// A slow system that answers within the deadline gives the document it gives without one, and
// a deadline that is not reached neither changes the output nor keeps the process waiting.
TEST(DeadlineEndToEndTest, RunWithinItsDeadlineIsUnchanged) {
  // One open, two calls and two answers: 550 ms of waiting in all.
  DeadlineDirectory slow("DELAY_OPEN = 150\nDELAY_CALL = 100\nDELAY_RECEIVE = 100\n");
  DeadlineDirectory quick("");
  const ProcessResult plain = quick.Run({"PRD"});
  ASSERT_EQ(plain.status, 0);
  ASSERT_NE(plain.out.find("<Value>"), std::string::npos) << plain.out;

  const TimedResult slowRun = TimedRun(slow, {"PRD", "TIMEOUT=1"});
  EXPECT_EQ(slowRun.process.out, plain.out);
  EXPECT_EQ(slowRun.process.status, 0);
  EXPECT_GE(slowRun.seconds, 0.55);

  const TimedResult quickRun = TimedRun(quick, {"PRD", "timeout=900"});
  EXPECT_EQ(quickRun.process.out, plain.out);
  EXPECT_EQ(quickRun.process.status, 0);
  // The unreached deadline keeps nobody waiting (bounds as loose as a loaded machine needs).
  EXPECT_LT(quickRun.seconds, 4.0);

  const ProcessResult plainGlobal = quick.Run({"GLOBAL", "G3"});
  ASSERT_EQ(plainGlobal.status, 0);
  const TimedResult quickGlobal = TimedRun(quick, {"GLOBAL", "G3", "TIMEOUT=900"});
  EXPECT_EQ(quickGlobal.process.out, plainGlobal.out);
  EXPECT_EQ(quickGlobal.process.status, 0);
  EXPECT_LT(quickGlobal.seconds, 4.0);
}

TEST(DeadlineEndToEndTest, InvalidTimeoutEndsTheRunAtOnce) {
  struct Case {
    std::vector<std::string> args;
    const char* value;
  } cases[] = {
      {{"PRD", "TIMEOUT=0"}, "0"},
      {{"PRD", "TIMEOUT=901"}, "901"},
      {{"PRD", "timeout=x"}, "x"},
      {{"PRD", "TIMEOUT="}, ""},
      {{"PRD", "TIMEOUT=-5"}, "-5"},
      {{"PRD", "TIMEOUT=99999999999999999999"}, "99999999999999999999"},
      {{"x", "ITEM=Three TIMEOUT=2.5"}, "2.5"},
  };
  DeadlineDirectory dir("HANG = RfcOpen\n");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args[1]);
    const ProcessResult r = dir.Run(c.args);
    EXPECT_EQ(r.out,
              OnConsole(ErrorDocument(std::string("Error 1033: Invalid Timeout ") + c.value +
                                      " found...")));
    EXPECT_EQ(r.status, 2);
  }
  // In the sensor's options, before the envelope is opened.
  DeadlineDirectory sensor("HANG = RfcOpen\n", "Item=Three,Timeout=0");
  const ProcessResult r = sensor.Run({"GLOBAL", "G3"});
  EXPECT_EQ(r.out, OnConsole(ErrorDocument("Error 1033: Invalid Timeout 0 found...")));
  EXPECT_EQ(r.status, 2);
}

}  // namespace
}  // namespace kelvoran
