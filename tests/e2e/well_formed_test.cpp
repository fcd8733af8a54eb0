// Every XML document the built probe prints is well-formed XML 1.0, also when the texts it
// takes from outside (arguments, profiles, listings, trace lines, SAP's answers) hold control
// characters; and a global run's fatal ending completes the document it opened. The runs start
// from the demo folder, changed where a case needs it. (The simulated library allows no control
// character in exception names; the error document's own tests show those.)
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "e2e/probe_fixture.h"
#include "support/xml_check.h"

namespace kelvoran {
namespace {

using Files = std::vector<std::pair<std::string, std::string>>;

std::string DemoFile(const std::string& name) {
  std::ifstream in(std::string(KELVORAN_TEST_SOURCE_DIR) + "/demo/" + name, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  if (at == std::string::npos) throw std::invalid_argument("fixture has no " + from);
  return text.replace(at, from.size(), to);
}

// The demo folder in `dir`, with `changes` written over it.
void WriteDemo(const ProbeDirectory& dir, const Files& changes) {
  for (const char* name : {"PRD.P00", "QAS.P00", "DEV.P00", "ORA.P00", "OLD.P00", "TST.P00",
                           "SapRfc.QAS", "SAP Almandor.Gbl", "Almandor.Prf", "Landscape.ini"}) {
    dir.Write(name, DemoFile(name));
  }
  for (const auto& [name, content] : changes) dir.Write(name, content);
}

// The landscape with `lines` added to system `system` (after its [SYSTEM] line).
Files Answers(const std::string& system, const std::string& lines) {
  return {{"Landscape.ini", Replaced(DemoFile("Landscape.ini"), "[" + system + "]\n",
                                     "[" + system + "]\n" + lines)}};
}

Files Destination(const std::string& destination, const std::string& host) {
  ProfileSettings settings;
  settings.destination = destination;
  settings.hostname = host;
  return {{"PRD.P00", ProfileText(settings)}};
}

TEST(WellFormedTest, OutsideTextsWithControlCharactersKeepTheDocumentWellFormed) {
  const std::string trace = "**** ERROR file opened at 20241006 120000\n"
                            "ERROR       RfcCall at 12:00:00: RFC_ERROR_COMMUNICATION\n"
                            "T:0001 ======> partner \x01\x1b[31m not reached\n";
  struct Case {
    const char* label;
    std::vector<std::string> args;
    Files files;
    int status;
    std::string shown;  // how the text with the control characters appears in the document
  } cases[] = {
      {"profile name (Error 1002)", {"PR\x01" "D"}, {}, 2, "Profile PR?D.P00 is missing"},
      {"FLAVOUR= value (Error 1031)", {"PRD", "FLAVOUR=Ex\x02"}, {}, 2, "Ex?"},
      {"sensor name (Error 1030)", {"GLOBAL", "SEN\x1f"}, {}, 2, "Global Sensor SEN? not found"},
      {"ITEM= value in the summary", {"x", "ITEM=A\x01\x0b" "B"}, {}, 0, "(***) A??B: NoSystems=3"},
      {"Destination in the result document", {"PRD"}, Destination("PR\x0c", "sapprd01"), 0,
       "(PR?) Kelvoran"},
      {"Destination in Error 1011", {"PRD"}, Destination("PR\x0e", "sapxxx01"), 2,
       "RFC-Open for PR? failed"},
      {"trace line", {"DEV"},
       {{"Dev_Rfc.Trc", trace},
        Answers("DEV", "FAIL_TRACE = YES\n").front()},
       2, "partner ??[31m not reached"},
      {"DBSYS and SYSID of SAP's answer", {"PRD", "FLAVOUR=Vistrel"},
       Answers("PRD", "DBSYS = DB4\x01\nSYSID = P\x1b" "D\n"), 0, "Info=DB4?,"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    // The NW RFC library writes no trace file: its failures explain themselves.
    if (!ProbeUsesClassicLibrary() && std::string(c.label) == "trace line") continue;
    ProbeDirectory dir;
    WriteDemo(dir, c.files);
    const ProcessResult result = dir.Run(c.args);
    EXPECT_EQ(XmlWellFormednessError(result.out), "") << result.out;
    EXPECT_NE(result.out.find(c.shown), std::string::npos) << result.out;
    EXPECT_EQ(result.status, c.status);
  }
}

// SAP's classic library delivers its texts in the Windows code page, and profile, listing and
// destination names are whatever bytes their files hold. In the XML flavours every document is
// UTF-8: Windows-1252 bytes become their characters in UTF-8, valid UTF-8 stays as it is; the
// text flavours keep the bytes.
TEST(WellFormedTest, OutsideTextsInTheWindowsCodePageBecomeUtf8InXml) {
  const std::string trace = "**** ERROR file opened at 20241006 120000\n"
                            "ERROR       RfcCall at 12:00:00: RFC_ERROR_COMMUNICATION\n"
                            "T:0001 ======> Verbindung zu Partner gw\xfc" "01 unterbrochen\n";
  const Files german = Answers("PRD", "FAIL_RECEIVE = RFC_SYSTEM_INFO 3\n"
                                      "ERROR_MESSAGE = Mandant 100 ist in diesem System nicht "
                                      "verf\xfc" "gbar\n");
  struct Case {
    const char* label;
    std::vector<std::string> args;
    Files files;
    int status;
    std::string shown;  // how the text appears in the document
  } cases[] = {
      {"SAP's message in the system's language", {"PRD"}, german, 2,
       "Mandant 100 ist in diesem System nicht verf\xc3\xbcgbar"},
      {"the same in a text flavour", {"PRD", "FLAVOUR=Tolvane"}, german, 2,
       "Mandant 100 ist in diesem System nicht verf\xfc" "gbar"},
      {"profile name (Error 1002)", {"PR\xdc"}, {}, 2, "Profile PR\xc3\x9c.P00 is missing"},
      {"sensor name (Error 1030)", {"GLOBAL", "S\x80N"}, {}, 2,
       "Global Sensor S\xe2\x82\xacN not found"},
      {"ITEM= value in the summary", {"x", "ITEM=Gr\xfc" "n"}, {}, 0, "(***) Gr\xc3\xbcn: "},
      {"ITEM= value already UTF-8", {"x", "ITEM=Gr\xc3\xbcn"}, {}, 0, "(***) Gr\xc3\xbcn: "},
      {"Destination in the result document", {"PRD"}, Destination("PR\xc4", "sapprd01"), 0,
       "(PR\xc3\x84) Kelvoran"},
      {"trace line", {"DEV"},
       {{"Dev_Rfc.Trc", trace}, Answers("DEV", "FAIL_TRACE = YES\n").front()}, 2,
       "Partner gw\xc3\xbc" "01 unterbrochen"},
      {"SYSID of SAP's answer", {"PRD", "FLAVOUR=Quellon"}, Answers("PRD", "SYSID = P\xc4" "D\n"),
       0, "Sid=P\xc3\x84" "D"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    // The NW RFC library writes no trace file: its failures explain themselves.
    if (!ProbeUsesClassicLibrary() && std::string(c.label) == "trace line") continue;
    ProbeDirectory dir;
    WriteDemo(dir, c.files);
    const ProcessResult result = dir.Run(c.args);
    if (c.args.back() != "FLAVOUR=Tolvane") {
      EXPECT_EQ(XmlWellFormednessError(result.out), "") << result.out;
    }
    EXPECT_NE(result.out.find(c.shown), std::string::npos) << result.out;
    EXPECT_EQ(result.status, c.status);
  }
}

// Through SapRfc.QAS the XML flavours print only the document; the line that announces the file
// goes to standard error.
TEST(WellFormedTest, PerDestinationRunPrintsOnlyTheDocument) {
  struct Case {
    std::vector<std::string> args;
  } cases[] = {{{"QAS"}}, {{"QAS", "FLAVOUR=Quellon"}}, {{"GLOBAL", "DEMO FLAVOUR=Vistrel"}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args.back());
    ProbeDirectory dir;
    WriteDemo(dir, {});
    const ProcessResult result = dir.Run(c.args);
    EXPECT_EQ(XmlWellFormednessError(result.out), "") << result.out;
    EXPECT_EQ(result.err, OnConsole("* SapRfc.Ini.......: QAS<\n"));
    EXPECT_EQ(result.status, 0);
  }
}

// A fatal ending of a global run completes the XML document opened at its start.
TEST(WellFormedTest, GlobalRunFatalEndingCompletesTheOpenDocument) {
  const std::string mismatch = "Error 1018: DataBase mismatch !";
  const std::string refused =
      "Error 1012: Exception.: NOT_AUTHORIZED - No RFC authorization for function group SRFC";
  struct Case {
    const char* listing;
    std::string flavour;
    std::string message;
  } cases[] = {
      {"PRD.P00#ORA.P00#QAS.P00#", "EXEXML", mismatch},
      {"PRD.P00#ORA.P00#QAS.P00#", "Quellon", mismatch},
      {"PRD.P00#ORA.P00#QAS.P00#", "Vistrel", mismatch},
      {"PRD.P00#DEV.P00#", "EXEXML", refused},
      {"PRD.P00#DEV.P00#", "Quellon", refused},
      {"PRD.P00#DEV.P00#", "Vistrel", refused},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.flavour + " " + c.message);
    ProbeDirectory dir;
    WriteDemo(dir, {{"Almandor.Prf", std::string("# Gsng: Demo        ") + c.listing + "\n"}});
    const ProcessResult result = dir.Run({"x", "ITEM=Demo", "FLAVOUR=" + c.flavour});
    EXPECT_EQ(result.out, OnConsole("\n<Prtg>\n\n" + ErrorDocumentRest(c.message)));
    EXPECT_EQ(XmlWellFormednessError(result.out), "");
    EXPECT_EQ(result.status, 2);
  }
}

}  // namespace
}  // namespace kelvoran
