// The single-system run end to end: the built probe in a temporary working directory, with a
// profile, a landscape of simulated SAP systems and, where a case needs them, SapRfc.<dest>
// and trace files; standard output is compared whole and byte for byte, with the exit status.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <regex>
#include <string>
#include <utility>
#include <vector>

#include "e2e/probe_fixture.h"
#include "support/xml_check.h"

namespace kelvoran {
namespace {

using Files = std::vector<std::pair<std::string, std::string>>;

// System PRD, reached by the default profile; date and time fixed so documents never change.
const std::string kSystem =
    "[PRD]\nASHOST = sapprd01\nSYSNR = 00\nLOGON = 100 MONI PrdMoni01\n"
    "FS_A_DATE = 20241007\nFS_A_TIME = 061500\n";
const std::string kCounts = "TAB_CNT = 41234\nCST_CNT = 40877\nIDX_CNT = 61590\n";

// The description text of PRD as it answers by default (its SYSID is PRD and 5 blanks).
const std::string kText = "(PRD) Kelvoran: Info=DB4,Date=20241007,Time=061500,Sid=PRD     ";

// SapRfc.PRD: the destination PRD on the application server of system PRD.
const std::string kDestinationFile =
    "* PRD through its own entry\r\nDEST=PRD\r\nASHOST=sapprd01\r\nSYSNR=00\r\n";
const std::string kDestinationLine = "* SapRfc.Ini.......: PRD<\n";

std::string XmlDocument(const std::string& text) {
  return "\n<Prtg>\n\n<Text>" + text + "</Text>\n" +
         "\n<Result><Channel>No.of DB-Tables</Channel>\n<Value>41234</Value></Result>\n"
         "\n<Result><Channel>No.of Prim.Keys</Channel>\n<Value>40877</Value></Result>\n"
         "\n<Result><Channel>No.of Indexes</Channel>\n<Value>61590</Value></Result>\n"
         "\n</Prtg>\n";
}

std::string BrennickDocument(const std::string& text) {
  return "\n# " + text +
         "\n\nMessage.No_of_DB_Tables: No.of DB-Tables (#)\nStatistic.No_of_DB_Tables: 41234"
         "\n\nMessage.No_of_Prim.Keys: No.of Prim.Keys (#)\nStatistic.No_of_Prim.Keys: 40877"
         "\n\nMessage.No_of_Indexes: No.of Indexes (#)\nStatistic.No_of_Indexes: 61590"
         "\n";
}

std::string TolvaneDocument(const std::string& text) {
  return "\n# " + text +
         "\n> No.of DB-Tables: 41234 #\n> No.of Prim.Keys: 40877 #\n> No.of Indexes: 61590 #\n";
}

// The RFC library's last error, as its failure report shows it.
struct Report {
  std::string operation, key, status, message, internalStatus;
};

// The report as the text flavours get it: the last error, then the end of the program.
std::string ReportLines(const Report& r) {
  return "RFC error\n"
         "operation/code  : " + r.operation + "\n"
         "key             : " + r.key + "\n"
         "status          : " + r.status + "\n"
         "message         : " + r.message + "\n"
         "internal status : " + r.internalStatus + "\n"
         "\n"
         "* Programm aborted...\n"
         "* Error at EoXput-File...\n";
}

// The report on one line, the text of the error document of the XML flavours.
std::string ReportText(const Report& r) {
  return "RFC error; operation/code: " + r.operation + "; key: " + r.key + "; status: " +
         r.status + "; message: " + r.message + "; internal status: " + r.internalStatus +
         "; * Programm aborted...; * Error at EoXput-File...";
}

std::string ReportDocument(const Report& r) { return ErrorDocument(ReportText(r)); }

// The last error of a failure that FAIL_HANDLER injects into the library operation `operation`.
Report LibraryFailure(const std::string& operation) {
  return {operation, "RFC_ERROR_SYSTEM_FAILURE", "library failure",
          "internal error of the RFC library in " + operation, operation};
}

ProfileSettings OnHost(const std::string& host) {
  ProfileSettings settings;
  settings.hostname = host;
  return settings;
}

ProfileSettings WithDestination(const std::string& destination,
                                const std::string& host = "sapprd01") {
  ProfileSettings settings = OnHost(host);
  settings.destination = destination;
  return settings;
}

struct RunCase {
  const char* label;
  std::string answers;               // added to system PRD in the landscape
  std::vector<std::string> options;  // the arguments after the profile name PRD
  std::string expected;              // standard output
  int status;
  ProfileSettings profile = {};
  Files files = {};                  // written before the run
};

// Runs the probe on profile PRD with system PRD and `answers` in the landscape.
ProcessResult RunProbe(const ProbeDirectory& dir, const std::string& answers,
                       const std::vector<std::string>& options,
                       const ProfileSettings& profile = {}, const Files& files = {}) {
  dir.WriteLandscape(kSystem + answers);
  dir.WriteProfile("PRD.P00", profile);
  for (const auto& [name, content] : files) dir.Write(name, content);
  std::vector<std::string> args{"PRD"};
  args.insert(args.end(), options.begin(), options.end());
  return dir.Run(args);
}

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// The time of day of the console lines, as hh:mm:ss.
std::string MaskTime(const std::string& text) {
  static const std::regex kTime("[0-9][0-9]:[0-9][0-9]:[0-9][0-9]");
  return std::regex_replace(text, kTime, "hh:mm:ss");
}

// What a case gives over the NW RFC SDK where it differs from the classic library's: another
// standard output and status, or nothing to run (`classicOnly`: the case shows what only the
// classic library has, its trace file or its failure report).
struct NwOutcome {
  std::string expected;
  int status = 2;
  bool classicOnly = false;
};
using NwDifferences = std::map<std::string, NwOutcome>;
const NwOutcome kClassicOnly{"", 0, true};

// Runs each case with the library the probe is built for: the classic expectation, or over the
// NW RFC SDK the difference named by the case's label when there is one.
void ExpectRuns(const std::vector<RunCase>& cases, bool maskTime = false,
                const NwDifferences& nw = {}) {
  for (const RunCase& c : cases) {
    SCOPED_TRACE(c.label);
    std::string expected = c.expected;
    int status = c.status;
    const auto difference = nw.find(c.label);
    if (!ProbeUsesClassicLibrary() && difference != nw.end()) {
      if (difference->second.classicOnly) continue;
      expected = difference->second.expected;
      status = difference->second.status;
    }
    ProbeDirectory dir;
    const ProcessResult result = RunProbe(dir, c.answers, c.options, c.profile, c.files);
    EXPECT_EQ(maskTime ? MaskTime(result.out) : result.out, OnConsole(expected));
    EXPECT_EQ(result.status, status);
  }
}

TEST(SingleRunEndToEndTest, DocumentInEachFlavour) {
  const std::string special = kCounts + "SYSID = A<&>B\nDBSYS = D&B<4>\n";
  const std::string specialText =
      "(PRD) Kelvoran: Info=D&B<4>,Date=20241007,Time=061500,Sid=A<&>B   ";
  ExpectRuns({
      {"EXEXML, the default", kCounts, {}, XmlDocument(kText), 0},
      {"EXEXML named", kCounts, {"flavour=EXEXML"}, XmlDocument(kText), 0},
      {"Quellon", kCounts, {"FLAVOUR=Quellon"}, XmlDocument(kText), 0},
      {"Vistrel", kCounts, {"FLAVOUR=Vistrel"}, XmlDocument(kText), 0},
      {"Brennick", kCounts, {"FLAVOUR=Brennick"}, BrennickDocument(kText), 0},
      {"Tolvane", kCounts, {"FLAVOUR=Tolvane"}, TolvaneDocument(kText), 0},
      {"Tolvane, channel 2", kCounts, {"FLAVOUR=Tolvane,CH=2"}, "40877\n", 0},
      {"Tolvane, ch=3 in the second argument", kCounts, {"FLAVOUR=Tolvane", "ch=3"}, "61590\n",
       0},
      {"Tolvane, a channel that does not exist", kCounts, {"FLAVOUR=Tolvane CH=4"}, "\n", 0},
      {"CH= selects nothing in Quellon", kCounts, {"FLAVOUR=Quellon CH=2"}, XmlDocument(kText),
       0},
      {"CH= selects nothing in Brennick", kCounts, {"FLAVOUR=Brennick CH=2"},
       BrennickDocument(kText), 0},
      {"RFCDBSYS DB4 and blanks passes", kCounts + "RFCDBSYS = DB4\n", {}, XmlDocument(kText),
       0},
      {"a blank DBSYS and SYSID of 3 letters",
       kCounts + "DBSYS =\nSYSID = P1X\n",
       {},
       XmlDocument("(PRD) Kelvoran: Info=,Date=20241007,Time=061500,Sid=P1X     "),
       0},
      {"negative and extreme counts",
       "TAB_CNT = -1\nCST_CNT = -2147483648\nIDX_CNT = 2147483647\n",
       {"FLAVOUR=Tolvane"},
       "\n# (PRD) Kelvoran: Info=DB4,Date=20241007,Time=061500,Sid=PRD     "
       "\n> No.of DB-Tables: -1 #\n> No.of Prim.Keys: -2147483648 #"
       "\n> No.of Indexes: 2147483647 #\n",
       0},
      {"SAP's '<', '&' and '>' escaped in an XML flavour", special, {},
       XmlDocument("(PRD) Kelvoran: Info=D&amp;B&lt;4&gt;,Date=20241007,Time=061500,"
                   "Sid=A&lt;&amp;&gt;B   "),
       0},
      {"SAP's text as it stands in Brennick", special, {"FLAVOUR=Brennick"},
       BrennickDocument(specialText), 0},
      {"SAP's text as it stands in Tolvane", special, {"FLAVOUR=Tolvane"},
       TolvaneDocument(specialText), 0},
      {"a destination with '<' and '&'", kCounts, {},
       XmlDocument("(P&lt;&amp;) Kelvoran: Info=DB4,Date=20241007,Time=061500,Sid=PRD     "), 0,
       WithDestination("P<&")},
  });
}

TEST(SingleRunEndToEndTest, VerboseConsoleLines) {
  const std::string start =
      "* hh:mm:ss SAP Kelvoran Vers 4.3 / 29.08.22\n"
      "* hh:mm:ss PRD.P00, sapprd01, PRD, 00, 100 State=Processing\n";
  const std::string end = "\n* hh:mm:ss SAP Kelvoran now processed...\n";
  ExpectRuns(
      {
          {"'#' alone", kCounts, {"#"},
           start + "* hh:mm:ss Kelvoran - (No Parameters) State=Executing\n" +
               XmlDocument(kText) + end,
           0},
          {"'(Parameters ' before '#'", kCounts, {"(Parameters #x"},
           start + "* hh:mm:ss Kelvoran - (No Parameters) State=Executing\n" +
               XmlDocument(kText) + end,
           0},
          {"cut at '@', the blank before it kept; CH= still selects", kCounts,
           {"FLAVOUR=Tolvane ab @ch=2"},
           start + "* hh:mm:ss Kelvoran - FLAVOUR=Tolvane ab  State=Executing\n" + "40877\n" +
               end,
           0},
          {"CH= behind a cut '#' still selects", kCounts, {"#CH=3 FLAVOUR=Tolvane"},
           start + "* hh:mm:ss Kelvoran - (No Parameters) State=Executing\n" + "61590\n" + end,
           0},
          {"'$' and '%' show the options whole; refused connection", "FAIL_CONNECT = YES\n",
           {"$ %"},
           start + "* hh:mm:ss Kelvoran - $ % State=Executing\n" +
               ErrorDocument("Error 1011: RFC-Open for PRD failed ! - partner '" +
                             ForLibrary("sapprd01:sapgw00", "sapprd01:3300") + "' not reached"),
           2},
          {"failure report after the console lines", "FAIL_HANDLER = RfcCall\n", {"%"},
           start + "* hh:mm:ss Kelvoran - % State=Executing\n" +
               ReportDocument(LibraryFailure("RfcCall")),
           1},
      },
      true, {{"failure report after the console lines", kClassicOnly}});
}

TEST(SingleRunEndToEndTest, ErrorEndings) {
  const std::string old = "**** ERROR file opened at 20241006 120000\n"
                          "ERROR       RfcCall at 12:00:00: RFC_ERROR_COMMUNICATION\n"
                          "T:0001 ======> partner of yesterday not reached\n";
  const std::string check = "FAIL_CALL = RFC_SYSTEM_INFO\n";
  const std::string untraced = check + "FAIL_TRACE = YES\n";
  ExpectRuns({
      {"logon refused at the first call", "FAIL_LOGON = YES\n", {},
       ErrorDocument("Error 1013: Sys-Exception raised ! - User account is locked. Please "
                     "notify the person responsible"),
       2},
      // The system check.
      {"check: exception", "FAIL_RECEIVE = RFC_SYSTEM_INFO 2 NOT_AUTHORIZED\n", {},
       ErrorDocument("Error 1012: Exception.: NOT_AUTHORIZED - RFC_SYSTEM_INFO raised the "
                     "exception NOT_AUTHORIZED"),
       2},
      {"check: system exception", "FAIL_RECEIVE = RFC_SYSTEM_INFO 3\n", {},
       ErrorDocument("Error 1013: Sys-Exception raised ! - ABAP runtime error in "
                     "RFC_SYSTEM_INFO"),
       2},
      {"check: failed call", check, {},
       ErrorDocument("Error 1014: RFC-Failure raised ! - connection to partner broken while "
                     "calling RFC_SYSTEM_INFO"),
       2},
      {"check: failed receive", "FAIL_RECEIVE = RFC_SYSTEM_INFO 1\n", {},
       ErrorDocument("Error 1014: RFC-Failure raised ! - connection to partner broken while "
                     "receiving the answer of RFC_SYSTEM_INFO"),
       2},
      {"check: other code", "FAIL_RECEIVE = RFC_SYSTEM_INFO -1\n", {},
       ErrorDocument("Error 1015: Other Failure raised ! - RFC_SYSTEM_INFO ended with return "
                     "code -1"),
       2},
      // The query.
      {"query: exception", "FAIL_RECEIVE = DB02_DB4_GET_INFO 2 NO_DATA_FOUND\n", {},
       ErrorDocument("Error 1012: Exception.: NO_DATA_FOUND - DB02_DB4_GET_INFO raised the "
                     "exception NO_DATA_FOUND"),
       2},
      {"query: system exception, its name not shown",
       "FAIL_RECEIVE = DB02_DB4_GET_INFO 3 DBIF_RSQL_ERROR\n", {},
       ErrorDocument("Error 1013: Sys-Exception raised ! - ABAP runtime error in "
                     "DB02_DB4_GET_INFO"),
       2},
      {"query: failed call", "FAIL_CALL = DB02_DB4_GET_INFO\n", {"FLAVOUR=Tolvane"},
       ErrorDocument("Error 1014: RFC-Failure raised ! - connection to partner broken while "
                     "calling DB02_DB4_GET_INFO"),
       2},
      {"query: other code", "FAIL_RECEIVE = DB02_DB4_GET_INFO 7\n", {"FLAVOUR=Brennick"},
       ErrorDocument("Error 1015: Other Failure raised ! - DB02_DB4_GET_INFO ended with return "
                     "code 7"),
       2},
      // The database system.
      {"database system db4", "RFCDBSYS = db4\n", {},
       ErrorDocument("Error 1018: DataBase mismatch !"), 2},
      {"database system DB", "RFCDBSYS = DB\n", {},
       ErrorDocument("Error 1018: DataBase mismatch !"), 2},
      // The trace tail.
      {"a trace line with '<', '&' and '>'", check + "ERROR_MESSAGE = a<b & c>d\n", {},
       ErrorDocument("Error 1014: RFC-Failure raised ! - a&lt;b &amp; c&gt;d"), 2},
      {"a trace line cut after its first 99 characters",
       check + "ERROR_MESSAGE = " + std::string(80, 'x') + "0123456789\n", {},
       ErrorDocument("Error 1014: RFC-Failure raised ! - " + std::string(80, 'x') + "0123"), 2},
      {"a trace entry without a message", check + "ERROR_MESSAGE =\n", {},
       ErrorDocument("Error 1014: RFC-Failure raised ! - Please Check Trace-File !"), 2},
      {"an older trace: the new entry counts", check, {},
       ErrorDocument("Error 1014: RFC-Failure raised ! - connection to partner broken while "
                     "calling RFC_SYSTEM_INFO"),
       2, ProfileSettings{}, Files{{"Dev_Rfc.Trc", old}}},
      {"no trace written, none there", untraced, {},
       ErrorDocument("Error 1014: RFC-Failure raised ! - Look for Trace-File"), 2},
      {"no trace written, an empty one there", untraced, {},
       ErrorDocument("Error 1014: RFC-Failure raised ! - Please Check Trace-File !"), 2,
       ProfileSettings{}, Files{{"Dev_Rfc.Trc", ""}}},
      {"no trace written, an older one reopened since", untraced, {},
       ErrorDocument("Error 1014: RFC-Failure raised ! - Please Check Trace-File !"), 2,
       ProfileSettings{},
       Files{{"Dev_Rfc.Trc", old + "**** ERROR file opened at 20241006 130000\n"}}},
      {"no trace written, an older one there", untraced, {},
       ErrorDocument("Error 1014: RFC-Failure raised ! - partner of yesterday not reached"), 2,
       ProfileSettings{}, Files{{"Dev_Rfc.Trc", old}}},
  }, false,
  {
      // The NW RFC SDK checks the logon when it opens the connection.
      {"logon refused at the first call",
       {ErrorDocument("Error 1011: RFC-Open for PRD failed ! - User account is locked. Please "
                      "notify the person responsible")}},
      // Its error record holds the whole message, and its key where there is none.
      {"a trace line cut after its first 99 characters",
       {ErrorDocument("Error 1014: RFC-Failure raised ! - " + std::string(80, 'x') +
                      "0123456789")}},
      {"a trace entry without a message",
       {ErrorDocument("Error 1014: RFC-Failure raised ! - RFC_COMMUNICATION_FAILURE")}},
      {"an older trace: the new entry counts", kClassicOnly},
      {"no trace written, none there", kClassicOnly},
      {"no trace written, an empty one there", kClassicOnly},
      {"no trace written, an older one reopened since", kClassicOnly},
      {"no trace written, an older one there", kClassicOnly},
  });
}

// Error 1011 says why on the same line: the classic library's trace line, found as for the
// other errors, or the NW RFC SDK's error record (of a CPIC block its ERROR line).
TEST(SingleRunEndToEndTest, Error1011CarriesItsReason) {
  const std::string open = "Error 1011: RFC-Open for PRD failed ! - ";
  const std::string wrongPassword = "Name or password is incorrect (repeat logon)";
  ProfileSettings otherPassword;
  otherPassword.password = "Other1";
  const Files viaDestination{{"SapRfc.PRD", kDestinationFile}};
  struct Case {
    const char* label;
    std::string answers;
    std::vector<std::string> options;
    ProfileSettings profile;
    Files files;
    std::string expected;  // standard output
  } cases[] = {
      {"unreachable host", "", {}, OnHost("sapxxx01"), {},
       ErrorDocument(open + ForLibrary("partner 'sapxxx01:sapgw00' not reached",
                                       "partner 'sapxxx01:3300' not reached"))},
      {"refused connection", "FAIL_CONNECT = YES\n", {"FLAVOUR=Quellon"}, {}, {},
       ErrorDocument(open + ForLibrary("partner 'sapprd01:sapgw00' not reached",
                                       "partner 'sapprd01:3300' not reached"))},
      {"wrong password on the per-destination route", "", {"FLAVOUR=Vistrel"}, otherPassword,
       viaDestination, ErrorDocument(open + wrongPassword)},
      // The classic library checks the logon at the first call.
      {"wrong password on the direct route", "", {}, otherPassword, {},
       ErrorDocument(ForLibrary("Error 1013: Sys-Exception raised ! - ", open) + wrongPassword)},
      {"logon refused on the per-destination route", "FAIL_LOGON = YES\n", {}, {},
       viaDestination,
       ErrorDocument(open + "User account is locked. Please notify the person responsible")},
      {"a destination and a reason with '<' and '&'",
       "FAIL_CONNECT = YES\nERROR_MESSAGE = a<b & c>d\n", {}, WithDestination("P<&"), {},
       ErrorDocument("Error 1011: RFC-Open for P&lt;&amp; failed ! - a&lt;b &amp; c&gt;d")},
      {"no trace written", "FAIL_CONNECT = YES\nFAIL_TRACE = YES\n", {}, {}, {},
       ErrorDocument(open + ForLibrary("Look for Trace-File",
                                       "partner 'sapprd01:3300' not reached"))},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    ProbeDirectory dir;
    const ProcessResult result = RunProbe(dir, c.answers, c.options, c.profile, c.files);
    EXPECT_EQ(result.out, OnConsole(c.expected));
    EXPECT_EQ(XmlWellFormednessError(result.out), "") << result.out;
    EXPECT_EQ(result.status, 2);
  }
}

// In the XML flavours the report is the error document; the text flavours get its lines.
TEST(SingleRunEndToEndTest, FailureReportEndsTheRun) {
  if (!ProbeUsesClassicLibrary()) GTEST_SKIP() << "the classic library's failure report";
  const std::string texts = "ERROR_KEY = KEY<1>\nERROR_STATUS = a & b\n"
                            "ERROR_MESSAGE = <no> memory\nERROR_INTERNAL = x>y\n";
  ExpectRuns({
      {"RfcOpen, with the landscape's error texts escaped", "FAIL_HANDLER = RfcOpen\n" + texts,
       {},
       ReportDocument({"RfcOpen", "KEY&lt;1&gt;", "a &amp; b", "&lt;no&gt; memory", "x&gt;y"}),
       1},
      {"RfcOpen, the texts as they stand in a text flavour", "FAIL_HANDLER = RfcOpen\n" + texts,
       {"FLAVOUR=Brennick"}, ReportLines({"RfcOpen", "KEY<1>", "a & b", "<no> memory", "x>y"}),
       1},
      {"RfcOpenEx", "FAIL_HANDLER = RfcOpenEx\n", {"FLAVOUR=Quellon"},
       ReportDocument(LibraryFailure("RfcOpenEx")), 1, ProfileSettings{},
       Files{{"SapRfc.PRD", kDestinationFile}}},
      {"RfcCall", "FAIL_HANDLER = RfcCall\n", {"FLAVOUR=Vistrel"},
       ReportDocument(LibraryFailure("RfcCall")), 1},
      {"RfcReceive", "FAIL_HANDLER = RfcReceive\n", {"FLAVOUR=Tolvane"},
       ReportLines(LibraryFailure("RfcReceive")), 1},
      // The measured document is never printed: the report takes its place.
      {"RfcClose after the query", kCounts + "FAIL_HANDLER = RfcClose\n", {},
       ReportDocument(LibraryFailure("RfcClose")), 1},
      {"RfcInstallStructure", "FAIL_HANDLER = RfcInstallStructure\n", {},
       ReportDocument(LibraryFailure("RfcInstallStructure")), 1},
      {"installing RFCSI", "FAIL_INSTALL = RFCSI\n", {},
       ReportDocument({"RfcInstallStructure", "RFC_ERROR_RESOURCE", "INSTALL failed",
                       "structure RFCSI cannot be installed: no memory left",
                       "RfcInstallStructure"}),
       1},
      {"installing DB02INFDB4", "FAIL_INSTALL = DB02INFDB4\n", {},
       ReportDocument({"RfcInstallStructure", "RFC_ERROR_RESOURCE", "INSTALL failed",
                       "structure DB02INFDB4 cannot be installed: no memory left",
                       "RfcInstallStructure"}),
       1},
      {"creating MISS_VIEWS", "FAIL_ITCREATE = MISS_VIEWS\n", {},
       ReportDocument({"ItCreate MISS_VIEWS", "RFC_ERROR_RESOURCE", "ItCreate failed",
                       "internal table MISS_VIEWS cannot be created: no memory left",
                       "ItCreate"}),
       1},
      {"deleting ADDTL_TABLES after a measured query", kCounts + "FAIL_ITDELETE = ADDTL_TABLES\n",
       {"FLAVOUR=Brennick"},
       ReportLines({"ItDelete ADDTL_TABLES", "RFC_ERROR_RESOURCE", "ItDelete failed",
                    "internal table ADDTL_TABLES cannot be deleted", "ItDelete"}),
       1},
      {"deleting after a failed query, with its own error texts",
       "FAIL_RECEIVE = DB02_DB4_GET_INFO 2 NO_DATA_FOUND\nFAIL_ITDELETE = ADDTL_INDEX\n"
       "ERROR_MESSAGE = lost\n",
       {},
       ReportDocument({"ItDelete ADDTL_INDEX", "RFC_ERROR_RESOURCE", "ItDelete failed", "lost",
                       "ItDelete"}),
       1},
  });
}

// A system that ends the run (not DB2 for IBM i) and whose library then fails while the
// connection is closed: the error document is out already, so standard output stays that one
// document and the report goes to standard error, exit status 1. A text flavour's host reads
// lines: the report follows the document there.
TEST(SingleRunEndToEndTest, FailureReportAfterTheErrorDocument) {
  if (!ProbeUsesClassicLibrary()) GTEST_SKIP() << "the classic library's failure report";
  const std::string mismatch = ErrorDocument("Error 1018: DataBase mismatch !");
  const std::string report = ReportLines(LibraryFailure("RfcClose"));
  const struct {
    const char* flavour;
    std::string out, err;
  } cases[] = {
      {"EXEXML", mismatch, report},
      {"Vistrel", mismatch, report},
      {"Tolvane", mismatch + report, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.flavour);
    ProbeDirectory dir;
    const ProcessResult result = RunProbe(dir, "RFCDBSYS = ORACLE\nFAIL_HANDLER = RfcClose\n",
                                          {std::string("FLAVOUR=") + c.flavour});
    EXPECT_EQ(result.out, OnConsole(c.out));
    EXPECT_EQ(result.err, OnConsole(c.err));
    EXPECT_EQ(result.status, 1);
  }
}

// The trace file is the operator's: only a measured system removes it.
TEST(SingleRunEndToEndTest, TraceFileRemovedAfterSuccessOnly) {
  if (!ProbeUsesClassicLibrary()) GTEST_SKIP() << "the classic library's trace file";
  const std::string old = "**** ERROR file opened at 20241006 120000\n"
                          "T:0001 ======> partner of yesterday not reached\n";
  struct Case {
    const char* label;
    std::string answers;
    int status;
    const char* trace;  // the trace file after the run, null when removed
  } cases[] = {
      {"measured", kCounts, 0, nullptr},
      {"Error 1011 adds an entry", "FAIL_CONNECT = YES\n", 2,
       "partner 'sapprd01:sapgw00' not reached"},
      {"a failed check adds an entry", "FAIL_CALL = RFC_SYSTEM_INFO\n", 2,
       "connection to partner broken while calling RFC_SYSTEM_INFO"},
      {"a failed query adds an entry", "FAIL_RECEIVE = DB02_DB4_GET_INFO 1\n", 2,
       "connection to partner broken while receiving the answer of DB02_DB4_GET_INFO"},
      {"Error 1018 leaves it as it was", "RFCDBSYS = ORA\n", 2, ""},
      {"a failure report adds an entry", kCounts + "FAIL_HANDLER = RfcClose\n", 1,
       "internal error of the RFC library in RfcClose"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    ProbeDirectory dir;
    const ProcessResult result = RunProbe(dir, c.answers, {}, {}, {{"Dev_Rfc.Trc", old}});
    EXPECT_EQ(result.status, c.status);
    if (c.trace == nullptr) {
      EXPECT_FALSE(dir.Exists("Dev_Rfc.Trc"));
      continue;
    }
    const std::string trace = dir.Read("Dev_Rfc.Trc");
    EXPECT_EQ(trace.substr(0, old.size()), old);
    const std::string tail = trace.substr(std::min(old.size(), trace.size()));
    const std::string added = OnConsole(std::string("======> ") + c.trace + "\n");
    if (c.trace[0] == '\0') {
      EXPECT_EQ(tail, "");
    } else {
      EXPECT_TRUE(EndsWith(tail, added)) << tail;
    }
  }
}

// With SapRfc.<destination> present the connection goes through SapRfc.ini and RfcOpenEx:
// the profile's host is known to no system, only the destination's entry reaches PRD.
TEST(SingleRunEndToEndTest, PerDestinationFile) {
  if (!ProbeUsesClassicLibrary()) GTEST_SKIP() << "SapRfc.ini: see nw_library_test.cpp";
  const std::string older = "DEST=OLD\nASHOST=sapold01\nSYSNR=00\n";
  struct Case {
    const char* label;
    Files files;
    std::string expected;
    int status;
    std::string rfcIni;  // SapRfc.ini after the run
  } cases[] = {
      {"SapRfc.PRD copied over SapRfc.ini",
       {{"SapRfc.PRD", kDestinationFile}, {"SapRfc.ini", older}},
       XmlDocument(kText), 0, kDestinationFile},
      {"an empty SapRfc.PRD gives an empty SapRfc.ini",
       {{"SapRfc.PRD", ""}, {"SapRfc.ini", older}},
       ErrorDocument("Error 1011: RFC-Open for PRD failed ! - destination PRD not found in "
                     "SapRfc.ini"),
       2, ""},
      {"without SapRfc.PRD SapRfc.ini stays as it is", {{"SapRfc.ini", older}},
       ErrorDocument("Error 1011: RFC-Open for PRD failed ! - partner 'sapold01:sapgw00' not "
                     "reached"),
       2, older},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    ProbeDirectory dir;
    const ProcessResult result = RunProbe(dir, kCounts, {}, OnHost("sapold01"), c.files);
    EXPECT_EQ(result.out, OnConsole(c.expected));
    // In the XML flavours the announcement of SapRfc.PRD goes to standard error.
    const bool viaFile = c.files.front().first == "SapRfc.PRD";
    EXPECT_EQ(result.err, viaFile ? OnConsole(kDestinationLine) : "");
    EXPECT_EQ(result.status, c.status);
    EXPECT_EQ(dir.Read("SapRfc.ini"), c.rfcIni);
  }
}

TEST(SingleRunEndToEndTest, SapRfcIniThatCannotBeWritten) {
  if (!ProbeUsesClassicLibrary()) GTEST_SKIP() << "SapRfc.ini: see nw_library_test.cpp";
  ProbeDirectory dir;
  std::filesystem::create_directory(dir.Path() / "SapRfc.ini");
  // The library was never asked: an older trace entry must not stand for the reason.
  const std::string older = "**** ERROR file opened at 20241006 120000\n"
                            "T:0001 ======> partner of yesterday not reached\n";
  const ProcessResult result =
      RunProbe(dir, kCounts, {}, ProfileSettings{},
               {{"SapRfc.PRD", kDestinationFile}, {"Dev_Rfc.Trc", older}});
  EXPECT_EQ(result.out, OnConsole(ErrorDocument("Error 1011: RFC-Open for PRD failed ! - "
                                                "SapRfc.PRD cannot be copied over SapRfc.ini "
                                                "in the working directory")));
  EXPECT_EQ(result.err, OnConsole(kDestinationLine));
  EXPECT_EQ(result.status, 2);
  // Nothing was written beside it either, apart from the folder's lock file.
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"Dev_Rfc.Trc", "Kelvoran.Lck", "Landscape.ini",
                                             "PRD.P00", "SapRfc.PRD", "SapRfc.ini"}));
  EXPECT_TRUE(std::filesystem::is_directory(dir.Path() / "SapRfc.ini"));
}

TEST(SingleRunEndToEndTest, LogLines) {
  // Each line names the library's own operation.
  const std::string started = "0 program started " + ProbePath() + "\n" +
                              ForLibrary("0 RfcEnvironment called \n", "");
  const std::string check =
      ForLibrary("1 RfcCall called \n1 RfcReceive called \n", "1 RfcInvoke called \n");
  const std::string open = ForLibrary("RfcOpen called \n", "RfcOpenConnection called \n");
  const std::string openEx = ForLibrary("RfcOpenEx called \n", "RfcOpenConnection called \n");
  struct Case {
    const char* label;
    std::string answers;
    std::vector<std::string> options;
    Files files;
    std::string log;  // Kelvoran.Log after the run; empty when there is none
  } cases[] = {
      {"measured, appended to an earlier log", kCounts, {",SYSLOG"},
       {{"Kelvoran.Log", OnConsole("0 program started earlier\n")}},
       "0 program started earlier\n" + started + "1 " + open + check + check},
      {"lower case in the second argument", kCounts, {"FLAVOUR=Tolvane", ",syslog"}, {},
       started + "1 " + open + check + check},
      {"per-destination route", kCounts, {"x,SysLog"}, {{"SapRfc.PRD", kDestinationFile}},
       started + "1 " + openEx + check + check},
      {"refused connection", "FAIL_CONNECT = YES\n", {",SYSLOG"}, {}, started + "0 " + open},
      {"failed check", "FAIL_RECEIVE = RFC_SYSTEM_INFO 3\n", {",SYSLOG"}, {},
       started + "1 " + open + check},
      {"SYSLOG without its comma", kCounts, {"SYSLOG"}, {}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    ProbeDirectory dir;
    RunProbe(dir, c.answers, c.options, ProfileSettings{}, c.files);
    EXPECT_EQ(dir.Read("Kelvoran.Log"), OnConsole(c.log));
    EXPECT_EQ(dir.Exists("Kelvoran.Log"), !c.log.empty());
  }
}

}  // namespace
}  // namespace kelvoran
