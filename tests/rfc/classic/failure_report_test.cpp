#include "rfc/classic/failure_report.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "support/test_context.h"
#include "support/xml_check.h"

namespace kelvoran {
namespace {

RfcErrorInfo Error(const char* key, const char* status, const char* message,
                   const char* internalStatus) {
  RfcErrorInfo error;
  std::memset(&error, 0, sizeof error);
  std::strncpy(error.key, key, sizeof error.key - 1);
  std::strncpy(error.status, status, sizeof error.status - 1);
  std::strncpy(error.message, message, sizeof error.message - 1);
  std::strncpy(error.internalStatus, internalStatus, sizeof error.internalStatus - 1);
  return error;
}

// A message of two lines with characters XML must escape: the host gets one line of text.
const RfcErrorInfo kError = Error("RFC_ERROR_COMMUNICATION", "CPI-C <CMSEND> failed",
                                  "connection reset\r\nby peer & gone", "236");

const std::string kLines =
    "RFC error\n"
    "operation/code  : RfcCall\n"
    "key             : RFC_ERROR_COMMUNICATION\n"
    "status          : CPI-C <CMSEND> failed\n"
    "message         : connection reset\r\nby peer & gone\n"
    "internal status : 236\n"
    "\n"
    "* Programm aborted...\n"
    "* Error at EoXput-File...\n";

const std::string kText =
    "RFC error; operation/code: RfcCall; key: RFC_ERROR_COMMUNICATION; status: CPI-C "
    "&lt;CMSEND&gt; failed; message: connection reset  by peer &amp; gone; internal status: 236; "
    "* Programm aborted...; * Error at EoXput-File...";

TEST(FailureReportTest, FormOfTheReportForEachHost) {
  const std::string document = "<Prtg>\n<Error>1</Error>\n<Text>" + kText + "</Text>\n</Prtg>\n";
  const std::string rest = "<Error>1</Error>\n<Text>" + kText + "</Text>\n</Prtg>\n";
  struct Case {
    const char* label;
    HostFlavour flavour;
    bool envelopeOpen;
    int endedWith;  // the status of a last document already printed, -1 for none
    std::string out;
    std::string err;
  } cases[] = {
      {"single run", HostFlavour::ExeXml, false, -1, document, ""},
      {"single run, Quellon", HostFlavour::Quellon, false, -1, document, ""},
      {"global run: the open envelope is closed", HostFlavour::ExeXml, true, -1, rest, ""},
      {"global run, Vistrel", HostFlavour::Vistrel, true, -1, rest, ""},
      {"after the error document of the run", HostFlavour::ExeXml, false, 2, "", kLines},
      {"after the rest of a global run's document", HostFlavour::Quellon, true, 2, "", kLines},
      {"text flavour: the lines", HostFlavour::Brennick, false, -1, kLines, ""},
      {"text flavour, global run", HostFlavour::Tolvane, true, -1, kLines, ""},
      {"text flavour, after a document", HostFlavour::Tolvane, false, 2, kLines, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    TestContext t;
    t.ctx.hostFlavour = c.flavour;
    t.ctx.envelopeOpen = c.envelopeOpen;
    t.ctx.deadlineView.endedWith = c.endedWith;
    const RfcFailureOutput report = RfcFailureReportFor(t.ctx, "RfcCall", kError);
    EXPECT_EQ(report.out, c.out);
    EXPECT_EQ(report.err, c.err);
  }
}

// A global run with ",DETAIL" is about its systems: its report names the system the run was at.
TEST(FailureReportTest, GlobalRunWithDetailNamesTheSystem) {
  struct Case {
    HostFlavour flavour;
    bool detail;
    std::string out;
  } cases[] = {
      {HostFlavour::ExeXml, true,
       "<Error>1</Error>\n<Text>RFC error at LIB.P00; " + kText.substr(11) + "</Text>\n</Prtg>\n"},
      {HostFlavour::Tolvane, true, "RFC error at LIB.P00\n" + kLines.substr(10)},
      {HostFlavour::Tolvane, false, kLines},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(HostFlavourName(c.flavour) + std::string(c.detail ? " ,DETAIL" : ""));
    TestContext t;
    t.ctx.hostFlavour = c.flavour;
    t.ctx.envelopeOpen = true;
    t.ctx.globalRun = true;
    t.ctx.globalDetail = c.detail;
    t.ctx.systemEntry = "LIB.P00";
    EXPECT_EQ(RfcFailureReportFor(t.ctx, "RfcCall", kError).out, c.out);
  }
}

// Every XML document the report makes parses, alone or closing the envelope a global run
// opened, whatever the library's fields hold: full to their last byte, or control characters.
TEST(FailureReportTest, DocumentsParse) {
  RfcErrorInfo full;
  std::memset(&full, '\x01', sizeof full);
  std::memset(full.message, 0xE4, sizeof full.message);  // Windows-1252, no terminator
  const RfcErrorInfo errors[] = {kError, Error("", "", "", ""), full};
  for (const RfcErrorInfo& error : errors) {
    for (HostFlavour flavour : {HostFlavour::ExeXml, HostFlavour::Quellon, HostFlavour::Vistrel}) {
      for (bool global : {false, true}) {
        SCOPED_TRACE(std::string(HostFlavourName(flavour)) + (global ? " global" : " single"));
        TestContext t;
        t.ctx.hostFlavour = flavour;
        t.ctx.envelopeOpen = global;
        const std::string out = RfcFailureReportFor(t.ctx, "ItCreate MISS_TABLES", error).out;
        const std::string whole = global ? "\n<Prtg>\n\n" + out : out;
        EXPECT_EQ(XmlWellFormednessError(whole), "") << whole;
        const std::size_t text = whole.find("<Text>");
        ASSERT_NE(text, std::string::npos);
        EXPECT_EQ(whole.find_first_of("\r\n", text), whole.find("</Text>", text) + 7) << whole;
      }
    }
  }
}

}  // namespace
}  // namespace kelvoran
