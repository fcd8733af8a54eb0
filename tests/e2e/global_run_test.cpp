// Global runs end to end: the probe measures every system of a listing against the simulated
// library and prints the envelope, the state lines and the summary, or ends at a fatal error.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "driver/profile_password.h"
#include "e2e/probe_fixture.h"
#include "support/xml_check.h"

namespace kelvoran {
namespace {

// All systems share one logon, so that a password carried from one profile to the next would
// get in anywhere. QAS is reached through its per-destination file, the others directly.
constexpr const char* kLandscape =
    "[PRD]\nASHOST = sapprd01\nSYSNR = 00\nLOGON = 100 MONI PrdMoni01\n"
    "[QAS]\nASHOST = sapqas01\nSYSNR = 10\nLOGON = 100 MONI PrdMoni01\n"
    "# the database query fails\n"
    "[TST]\nASHOST = saptst01\nSYSNR = 50\nLOGON = 100 MONI PrdMoni01\n"
    "FAIL_RECEIVE = DB02_DB4_GET_INFO 1\n"
    "# refuses every connection: a trace entry shows that the probe tried\n"
    "[BAD]\nASHOST = sapbad01\nSYSNR = 60\nLOGON = 100 MONI PrdMoni01\nFAIL_CONNECT = YES\n"
    "# the system check ends in an exception\n"
    "[DEV]\nASHOST = sapdev01\nSYSNR = 20\nLOGON = 100 MONI PrdMoni01\n"
    "FAIL_RECEIVE = RFC_SYSTEM_INFO 2 NOT_AUTHORIZED\n"
    "ERROR_MESSAGE = No RFC authorization for function group SRFC\n"
    "[ORA]\nASHOST = sapora01\nSYSNR = 30\nLOGON = 100 MONI PrdMoni01\nRFCDBSYS = ORACLE\n"
    "# the library fails inside RfcCall\n"
    "[LIB]\nASHOST = saplib01\nSYSNR = 40\nLOGON = 100 MONI PrdMoni01\nFAIL_HANDLER = RfcCall\n"
    "ERROR_KEY = RFC_ERROR_COMMUNICATION\nERROR_STATUS = CPI-C routine CMSEND failed\n"
    "ERROR_MESSAGE = connection reset by peer\nERROR_INTERNAL = 236\n"
    "# not DB2 for IBM i, and the library fails when the connection is closed\n"
    "[ORC]\nASHOST = saporc01\nSYSNR = 31\nLOGON = 100 MONI PrdMoni01\nRFCDBSYS = ORACLE\n"
    "FAIL_HANDLER = RfcClose\n";

// The entry of an earlier run; a global run keeps the trace file.
constexpr const char* kEarlierTrace = "T:0009 ======> left by an earlier run";

// Replaces the value of the line that begins with `key`; an empty value drops the line.
std::string WithSetting(std::string profile, const std::string& key, const std::string& value) {
  const std::size_t at = profile.find(key);
  const std::size_t end = profile.find('\n', at) + 1;
  profile.replace(at, end - at, value.empty() ? "" : key + " " + value + "\r\n");
  return profile;
}

// The landscape, the per-destination file of QAS and a profile for each system; OLD points at
// a host where no system answers, BAD has a one-character client, NOH names no host, NEW has
// no profile.
void WriteSystems(const ProbeDirectory& dir) {
  dir.WriteLandscape(kLandscape);
  dir.Write("SapRfc.QAS", "DEST=QAS\nASHOST=sapqas01\nSYSNR=10\n");
  dir.Write("Dev_Rfc.Trc", OnConsole(std::string(kEarlierTrace) + "\n"));
  dir.WriteProfile("PRD.P00", System("PRD", "sapprd01", "00"));
  dir.WriteProfile("QAS.P00", System("QAS", "sapqas01", "10"));
  dir.WriteProfile("TST.P00", System("TST", "saptst01", "50"));
  dir.WriteProfile("OLD.P00", System("OLD", "sapold01", "00"));
  ProfileSettings bad = System("BAD", "sapbad01", "60");
  bad.client = "1";
  dir.WriteProfile("BAD.P00", bad);
  dir.Write("NOH.P00", WithSetting(ProfileText(System("NOH", "", "70")), "Hostname...:", ""));
  dir.WriteProfile("DEV.P00", System("DEV", "sapdev01", "20"));
  dir.WriteProfile("ORA.P00", System("ORA", "sapora01", "30"));
  dir.WriteProfile("LIB.P00", System("LIB", "saplib01", "40"));
  dir.WriteProfile("ORC.P00", System("ORC", "saporc01", "31"));
}

std::string SensorLine(const std::string& sensor, const std::string& systems) {
  return "# GSNG: " + sensor + std::string(10 - sensor.size(), ' ') + "::" + systems + "\n";
}
std::string OptionLine(const std::string& sensor, const std::string& options) {
  return "# GSNX: " + sensor + std::string(10 - sensor.size(), ' ') + ":" + options +
         ",Sensor=\"SAP Kelvoran\"\n";
}
std::string ItemListing(const std::string& systems) {
  return "[Almandor]\n# Gsng: Landscape   " + systems + "\n";
}

// Console lines show the time of day; it is masked as hh:mm:ss.
std::string MaskTimes(const std::string& text) {
  static const std::regex time("[0-9][0-9]:[0-9][0-9]:[0-9][0-9]");
  return std::regex_replace(text, time, "hh:mm:ss");
}

// The message line of every entry of the trace file, in order. The library writes the file in
// text mode, so its lines end as on the console.
std::vector<std::string> TraceMessages(const ProbeDirectory& dir) {
  std::vector<std::string> messages;
  const std::string trace = dir.Read("Dev_Rfc.Trc");
  const std::string lineEnd = OnConsole("\n");
  for (std::size_t at = 0; at < trace.size();) {
    std::size_t end = trace.find(lineEnd, at);
    if (end == std::string::npos) end = trace.size();
    const std::string line = trace.substr(at, end - at);
    if (line.find("======> ") != std::string::npos) messages.push_back(line);
    at = end + lineEnd.size();
  }
  return messages;
}

// What every verbose run prints before its first system and after its summary.
constexpr const char* kBanner = "* hh:mm:ss SAP Kelvoran Vers 4.3 / 29.08.22\n";
constexpr const char* kClosingLine = "\n* hh:mm:ss SAP Kelvoran now processed...\n";

TEST(GlobalRunTest, SummaryInEveryFlavourOnBothRoutes) {
  ProbeDirectory dir;
  WriteSystems(dir);
  const std::string systems = "PRD.P00#NEW.P00#QAS.P00#TST.P00#";
  dir.Write("SAP Almandor.Gbl",
            SensorLine("SENSOR1", systems) + OptionLine("SENSOR1", "Item=A1:B2") +
                SensorLine("SENSOR2", systems) + OptionLine("SENSOR2", "Item=A1:B2,CH=1") +
                SensorLine("SENSOR3", systems) +
                OptionLine("SENSOR3", "Item=A1:B2,FLAVOUR=Tolvane"));
  dir.Write("Almandor.Prf", ItemListing(systems));

  // Each print adds a line feed: the envelope opening (empty in the text flavours) at the start,
  // the closing document at the end. The per-destination file of QAS announces itself between
  // them in the text flavours; the XML flavours print it to standard error.
  const std::string qas = "* SapRfc.Ini.......: QAS<\n";
  const std::string summary = "(***) A1 B2: NoSystems=4, Processed=2, Failed=1";
  const std::string xml = "\n<Prtg>\n\n\n<Text>" + summary + "</Text>\n\n</Prtg>\n\n";
  const std::string text = "\n" + qas + "\n# " + summary + "\n\n";
  const std::string selected = "\n" + qas + "\n\n";

  struct Case {
    const char* label;
    std::vector<std::string> args;
    std::string expected;
  } cases[] = {
      {"sensor, EXEXML", {"GLOBAL", "SENSOR1"}, xml},
      {"sensor, Quellon", {"global", "sensor1", "FLAVOUR=Quellon"}, xml},
      {"sensor, Vistrel", {"Global.P00", "Sensor1 flavour=Vistrel"}, xml},
      {"sensor, Brennick", {"GLOBAL", "SENSOR1", "FLAVOUR=Brennick"}, text},
      {"sensor, Tolvane", {"GLOBAL", "SENSOR1", "FLAVOUR=Tolvane"}, text},
      {"item, EXEXML", {"x", "ITEM=A1:B2"}, xml},
      {"item, Quellon", {"x", "ITEM=A1:B2,FLAVOUR=Quellon"}, xml},
      {"item, Vistrel", {"GLOBAL", "item=A1:B2", "FLAVOUR=Vistrel"}, xml},
      {"item, Brennick", {"x", "ITEM=A1:B2", "FLAVOUR=Brennick"}, text},
      {"item, Tolvane", {"x", "ITEM=A1:B2", "FLAVOUR=Tolvane"}, text},
      // "CH=" empties the text block in Tolvane only; the line feeds stay.
      {"sensor, Tolvane, CH= among the sensor's options",
       {"GLOBAL", "SENSOR2", "FLAVOUR=Tolvane"},
       selected},
      {"item, Tolvane, CH= on the command line",
       {"x", "ITEM=A1:B2,CH=1", "FLAVOUR=Tolvane"},
       selected},
      {"sensor, Brennick, CH= among the sensor's options",
       {"GLOBAL", "SENSOR2", "FLAVOUR=Brennick"},
       text},
      {"item, Quellon, CH= on the command line", {"x", "ITEM=A1:B2,CH=1", "FLAVOUR=Quellon"}, xml},
      // On the sensor route the sensor's options replace the command line's...
      {"sensor, Tolvane, CH= on the command line is replaced",
       {"GLOBAL", "SENSOR1", "FLAVOUR=Tolvane CH=1"},
       text},
      // ...but the flavour was settled from the command line before the listing was read.
      {"sensor, flavour among the sensor's options has no effect", {"GLOBAL", "SENSOR3"}, xml},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    const ProcessResult result = dir.Run(c.args);
    EXPECT_EQ(result.out, OnConsole(c.expected));
    EXPECT_EQ(result.err, c.expected == xml ? OnConsole(qas) : "");
    EXPECT_EQ(result.status, 0);
  }
}

TEST(GlobalRunTest, VerdictsCountsAndStateLines) {
  struct Case {
    const char* label;
    std::string systems;
    std::string stateLines;  // console lines between the envelope opening and the summary
    std::string counts;
    std::vector<std::string> trace;  // the messages of the trace file afterwards
  } cases[] = {
      {"measured, refused, invalid, failed query and missing profiles",
       "PRD.P00#NEW.P00#QAS.P00#OLD.P00#BAD.P00#TST.P00#",
       "\n* hh:mm:ss PRD.P00, sapprd01, PRD, 00, 100 State=Processed\n"
       "* SapRfc.Ini.......: QAS<\n"
       "\n* hh:mm:ss QAS.P00, sapqas01, QAS, 10, 100 State=Processed\n"
       "\n* hh:mm:ss OLD.P00, sapold01, OLD, 00, 100 State=Rfc Failure\n"
       "\n* hh:mm:ss BAD.P00, sapbad01, BAD, 60, 1 State=Rfc Failure\n"
       "\n* hh:mm:ss TST.P00, saptst01, TST, 50, 100 State=Rfc Failure\n",
       "NoSystems=6, Processed=2, Failed=3",
       // BAD's entry shows that its connection was attempted despite the invalid profile.
       {kEarlierTrace, "T:0000 ======> partner 'sapold01:sapgw00' not reached",
        "T:0000 ======> partner 'sapbad01:sapgw60' not reached",
        "T:0003 ======> connection to partner broken while receiving the answer of "
        "DB02_DB4_GET_INFO"}},
      {"only missing profiles: counted, never judged",
       "NEW.P00#XYZ.P00#",
       "",
       "NoSystems=2, Processed=0, Failed=0",
       {kEarlierTrace}},
      {"a system listed twice is measured twice",
       "PRD.P00#PRD.P00#",
       "\n* hh:mm:ss PRD.P00, sapprd01, PRD, 00, 100 State=Processed\n"
       "\n* hh:mm:ss PRD.P00, sapprd01, PRD, 00, 100 State=Processed\n",
       "NoSystems=2, Processed=2, Failed=0",
       {kEarlierTrace}},
      // The system check replaced the shown host with PRD's; the next profile starts afresh.
      {"a profile without a host shows none",
       "PRD.P00#NOH.P00#",
       "\n* hh:mm:ss PRD.P00, sapprd01, PRD, 00, 100 State=Processed\n"
       "\n* hh:mm:ss NOH.P00, , NOH, 70, 100 State=Rfc Failure\n",
       "NoSystems=2, Processed=1, Failed=1",
       {kEarlierTrace, "T:0000 ======> no application server host given"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    ProbeDirectory dir;
    WriteSystems(dir);
    dir.Write("Almandor.Prf", ItemListing(c.systems));
    // The executing line shows the options with ':' as a blank, cut before " @".
    const ProcessResult result = dir.Run({"x", "ITEM=Landscape:East,SYSLOG", "@sapmon01"});
    EXPECT_EQ(MaskTimes(result.out),
              OnConsole(std::string(kBanner) +
                        "* hh:mm:ss ITEM=Landscape East,SYSLOG State=Executing\n" +
                        "\n<Prtg>\n\n" + c.stateLines + "\n<Text>(***) Landscape East: " +
                        c.counts + "</Text>\n\n</Prtg>\n\n" + kClosingLine));
    EXPECT_EQ(result.status, 0);
    // The NW RFC library writes no trace file: the earlier run's stays as it was.
    EXPECT_EQ(TraceMessages(dir),
              ProbeUsesClassicLibrary() ? c.trace : std::vector<std::string>{kEarlierTrace});
  }
}

TEST(GlobalRunTest, FatalEndingsAfterTheEnvelopeOpening) {
  const std::string verboseOpening =
      std::string(kBanner) + "* hh:mm:ss ITEM=I1 # State=Executing\n\n<Prtg>\n\n" +
      "\n* hh:mm:ss PRD.P00, sapprd01, PRD, 00, 100 State=Processed\n";
  const std::string libraryReport =
      "RFC error\n"
      "operation/code  : RfcCall\n"
      "key             : RFC_ERROR_COMMUNICATION\n"
      "status          : CPI-C routine CMSEND failed\n"
      "message         : connection reset by peer\n"
      "internal status : 236\n"
      "\n"
      "* Programm aborted...\n"
      "* Error at EoXput-File...\n";
  // The report in the XML flavours: on one line, in the rest of the document that the envelope
  // opening began.
  const std::string libraryDocumentRest = ErrorDocumentRest(
      "RFC error; operation/code: RfcCall; key: RFC_ERROR_COMMUNICATION; status: CPI-C routine "
      "CMSEND failed; message: connection reset by peer; internal status: 236; "
      "* Programm aborted...; * Error at EoXput-File...");
  const std::string closeReport =
      "RFC error\n"
      "operation/code  : RfcClose\n"
      "key             : RFC_ERROR_SYSTEM_FAILURE\n"
      "status          : library failure\n"
      "message         : internal error of the RFC library in RfcClose\n"
      "internal status : RfcClose\n"
      "\n"
      "* Programm aborted...\n"
      "* Error at EoXput-File...\n";
  const std::string mismatchRest = ErrorDocumentRest("Error 1018: DataBase mismatch !");
  struct Case {
    const char* label;
    std::string systems;
    std::string options;
    std::string expected;
    int status;
    std::string err = "";  // standard error
  } cases[] = {
      // The first system is judged; the third is never reached, so no summary follows.
      // The XML document opened at the start is completed, not followed by a second one.
      {"second system answers another database system", "PRD.P00#ORA.P00#QAS.P00#", "ITEM=I1 #",
       verboseOpening + ErrorDocumentRest("Error 1018: DataBase mismatch !"), 2},
      {"system check fails: the last trace entry completes the message", "OLD.P00#DEV.P00#PRD.P00#",
       "ITEM=I1",
       "\n<Prtg>\n\n" +
           ErrorDocumentRest(
               "Error 1012: Exception.: NOT_AUTHORIZED - No RFC authorization for function group "
               "SRFC"),
       2},
      // The text flavours have no envelope: the whole error document follows the opening line.
      {"text flavour: the whole error document", "PRD.P00#ORA.P00#", "ITEM=I1,FLAVOUR=Tolvane",
       "\n" + ErrorDocument("Error 1018: DataBase mismatch !"), 2},
      {"the library fails inside a call: its report completes the document",
       "PRD.P00#LIB.P00#QAS.P00#", "ITEM=I1 #", verboseOpening + libraryDocumentRest, 1},
      {"the library's report in Quellon", "PRD.P00#LIB.P00#", "ITEM=I1,FLAVOUR=Quellon",
       "\n<Prtg>\n\n" + libraryDocumentRest, 1},
      {"the library's report in Vistrel", "LIB.P00#", "ITEM=I1,FLAVOUR=Vistrel",
       "\n<Prtg>\n\n" + libraryDocumentRest, 1},
      {"the library fails with the text flavour", "LIB.P00#", "ITEM=I1,FLAVOUR=Brennick",
       "\n" + libraryReport, 1},
      // The run's last document is out when the library fails: the report goes to standard
      // error, so that standard output stays one document.
      {"the library fails closing a system that ended the run", "PRD.P00#ORC.P00#QAS.P00#",
       "ITEM=I1", "\n<Prtg>\n\n" + mismatchRest, 1, closeReport},
      {"the same with the text flavour: the report follows the document", "ORC.P00#",
       "ITEM=I1,FLAVOUR=Tolvane", "\n" + ErrorDocument("Error 1018: DataBase mismatch !") + closeReport,
       1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    // The NW RFC library has no failure report: every failure arrives as a code.
    if (!ProbeUsesClassicLibrary() && c.status == 1) continue;
    ProbeDirectory dir;
    WriteSystems(dir);
    dir.Write("Almandor.Prf", ItemListing(c.systems));
    const ProcessResult result = dir.Run({"x", c.options});
    EXPECT_EQ(MaskTimes(result.out), OnConsole(c.expected));
    EXPECT_EQ(result.err, OnConsole(c.err));
    EXPECT_EQ(result.status, c.status);
    // Without console lines an XML flavour's output is one document its host can parse.
    if (c.options.find_first_of("#@$%") == std::string::npos &&
        c.options.find("Tolvane") == std::string::npos &&
        c.options.find("Brennick") == std::string::npos) {
      EXPECT_EQ(XmlWellFormednessError(result.out), "") << result.out;
    }
  }
}

// The listing is read before the run starts: its errors come alone, even in verbose mode.
TEST(GlobalRunTest, ListingErrorsEndTheRunBeforeItStarts) {
  struct Case {
    const char* label;
    const char* listingName;  // written empty; none when null
    std::vector<std::string> args;
    std::string message;
  } cases[] = {
      {"empty item listing",
       "Almandor.Prf",
       {"x", "ITEM=I1 #"},
       "Error 1025: Global Server Listing missing..."},
      {"empty sensor listing",
       "SAP Almandor.Gbl",
       {"GLOBAL", "SENSOR1 #"},
       "Error 1030: Global Sensor SENSOR1 # not found..."},
      // The listing is searched for like a profile, so its absence is the search's error.
      {"no sensor listing",
       nullptr,
       {"GLOBAL", "SENSOR1 #"},
       "Error 1002: Profile SAP Almandor.Gbl is missing..."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    ProbeDirectory dir;
    WriteSystems(dir);
    if (c.listingName != nullptr) dir.Write(c.listingName, "");
    const ProcessResult result = dir.Run(c.args);
    EXPECT_EQ(result.out, OnConsole(ErrorDocument(c.message)));
    EXPECT_EQ(result.status, 2);
  }
}

// A stored password whose check digit does not match: well formed, but not the password.
std::string WrongStoredPassword() {
  std::string stored = EncodeProfilePassword("PrdMoni01").stored;
  stored.back() = stored.back() == 'a' ? 'b' : 'a';
  return stored;
}

TEST(GlobalRunTest, NoCredentialCarriedToTheNextSystem) {
  const DecodedPassword wrong = DecodeProfilePassword(WrongStoredPassword());
  ASSERT_TRUE(wrong.wellFormed);
  ASSERT_FALSE(wrong.verified);

  // QAS is measured after PRD and accepts PRD's logon: only a carried password gets it in.
  const std::string viaFile = ProfileText(System("QAS", "sapqas01", "10"));
  const std::string direct = ProfileText(System("QAD", "sapqas01", "10"));
  const std::string judged =
      "* SapRfc.Ini.......: QAS<\n"
      "\n* hh:mm:ss QAS.P00, sapqas01, QAS, 10, 100 State=Rfc Failure\n"
      "\n<Text>(***) I1: NoSystems=2, Processed=1, Failed=1</Text>\n\n</Prtg>\n\n" +
      std::string(kClosingLine);
  struct Case {
    const char* label;
    std::string profile;   // of QAS
    std::string expected;  // after PRD's state line
    int status;
    std::vector<std::string> trace;
  } cases[] = {
      // Through the per-destination file the logon is checked when connecting.
      {"password line missing, logon when connecting",
       WithSetting(viaFile, "Password...:", ""),
       judged,
       0,
       {"T:0000 ======> Name or password is incorrect (repeat logon)"}},
      {"stored password fails its check, logon when connecting",
       WithSetting(viaFile, "Password...:", WrongStoredPassword()),
       judged,
       0,
       {"T:0000 ======> Name or password is incorrect (repeat logon)"}},
      // Connected directly, the logon is checked at the first call, so the system check fails.
      {"password line missing, logon at the first call",
       WithSetting(direct, "Password...:", ""),
       ErrorDocumentRest("Error 1013: Sys-Exception raised ! - Name or password is incorrect "
                         "(repeat logon)"),
       2,
       {"T:0002 ======> Name or password is incorrect (repeat logon)"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    // The NW RFC library checks the logon when it opens: QAD is judged like QAS, and no trace
    // file is written.
    const std::string expected = ProbeUsesClassicLibrary() || c.status != 2
                                     ? c.expected
                                     : "\n* hh:mm:ss QAS.P00, sapqas01, QAD, 10, 100 State=Rfc "
                                       "Failure\n\n<Text>(***) I1: NoSystems=2, Processed=1, "
                                       "Failed=1</Text>\n\n</Prtg>\n\n" +
                                           std::string(kClosingLine);
    const int status = ProbeUsesClassicLibrary() ? c.status : 0;
    ProbeDirectory dir;
    WriteSystems(dir);
    dir.Write("Dev_Rfc.Trc", "");
    dir.Write("QAS.P00", c.profile);
    dir.Write("Almandor.Prf", ItemListing("PRD.P00#QAS.P00#"));
    const ProcessResult result = dir.Run({"x", "ITEM=I1 #"});
    EXPECT_EQ(MaskTimes(result.out),
              OnConsole(std::string(kBanner) + "* hh:mm:ss ITEM=I1 # State=Executing\n\n<Prtg>\n\n" +
                        "\n* hh:mm:ss PRD.P00, sapprd01, PRD, 00, 100 State=Processed\n" +
                        expected));
    EXPECT_EQ(result.status, status);
    EXPECT_EQ(TraceMessages(dir),
              ProbeUsesClassicLibrary() ? c.trace : std::vector<std::string>{});
  }
}

}  // namespace
}  // namespace kelvoran
