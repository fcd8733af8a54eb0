// What the probe makes of the NW RFC library's values: UTF-16 texts in the host's code page,
// packed numbers from their decimal text, return codes as numbered messages.
#include <gtest/gtest.h>

#include <string>

#include "rfc/library_steps.h"
#include "rfc/nwrfc/function_call.h"
#include "rfc/nwrfc/library_state.h"
#include "rfc/nwrfc/sap_text.h"
#include "support/test_context.h"

namespace kelvoran {
namespace {

SapText Units(std::initializer_list<unsigned> units) {
  SapText text;
  for (unsigned unit : units) text += static_cast<SapChar>(unit);
  return text;
}

TEST(NwValuesTest, TextsInEitherCodePage) {
  struct Case {
    const char* label;
    SapText sap;
    std::string windows1252, latin1;
  } cases[] = {
      {"ASCII", Units({'P', 'R', 'D'}), "PRD", "PRD"},
      {"u umlaut", Units({'v', 0xFC}), "v\xfc", "v\xfc"},
      {"euro sign", Units({0x20AC}), "\x80", "?"},
      {"a C1 control", Units({0x85}), "?", "\x85"},
      {"no byte anywhere", Units({0x65E5}), "?", "?"},
      {"surrogate pair", Units({0xD83D, 0xDE00, 'x'}), "?x", "?x"},
      {"lone surrogate", Units({0xDC00, 'x'}), "?x", "?x"},
      {"ends at NUL", Units({'a', 0, 'b'}), "a", "a"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(FromSapText(c.sap.data(), c.sap.size(), CodePage::Windows1252), c.windows1252);
    EXPECT_EQ(FromSapText(c.sap.data(), c.sap.size(), CodePage::Latin1), c.latin1);
  }
  EXPECT_EQ(ToSapText("v\xfc\x80", CodePage::Windows1252), Units({'v', 0xFC, 0x20AC}));
  EXPECT_EQ(ToSapText("v\xfc\x80", CodePage::Latin1), Units({'v', 0xFC, 0x80}));
  EXPECT_EQ(ToSapText("\x81", CodePage::Windows1252), Units({'?'}));
}

TEST(NwValuesTest, DecimalTextsAsThePackedNumbersOfTheClassicLibrary) {
  struct Case {
    const char* text;
    std::optional<std::string> normalized;
  } cases[] = {
      {"63.41250", "63.41250"}, {"63.4125", "63.41250"},  {"0063.41250", "63.41250"},
      {"-0.5", "-0.50000"},     {"-0.00000", "0.00000"},  {".5", "0.50000"},
      {"100", "100.00000"},     {"-", std::nullopt},      {"", std::nullopt},
      {"1.234567", std::nullopt}, {"1,5", std::nullopt},  {" 1.5", std::nullopt},
      {"1e5", std::nullopt},    {"--1", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(NormalizedDecimal(c.text, 5), c.normalized);
  }
}

TEST(NwValuesTest, ReturnCodesAsNumberedMessages) {
  NwErrorInfo error{};
  const SapText key = ToSapText("NOT_AUTHORIZED", CodePage::Latin1);
  key.copy(error.key, key.size());
  struct Case {
    int code;
    const char* message;
  } cases[] = {
      {0, ""},
      {1, "Error 1014: RFC-Failure raised !"},
      {3, "Error 1013: Sys-Exception raised !"},
      {4, "Error 1013: Sys-Exception raised !"},
      {5, "Error 1012: Exception.: NOT_AUTHORIZED"},
      {2, "Error 1015: Other Failure raised !"},
      {13, "Error 1015: Other Failure raised !"},
      {20, "Error 1015: Other Failure raised !"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    EXPECT_EQ(NwResultMessage(c.code, error), c.message);
  }
}

// The error record's message explains a failed step on one line: of a communication
// failure's block of lines, the text of its ERROR line; other lines are joined.
TEST(NwValuesTest, ExplanationOnOneLine) {
  struct Case {
    const char* label;
    std::string message, key;
    std::string appended;
  } cases[] = {
      {"one line", "partner not reached", "", " - partner not reached"},
      {"one line beginning with ERROR", "ERROR in partner", "", " - ERROR in partner"},
      {"SAP's CPIC block",
       "LOCATION    CPIC (TCP/IP) on local host with Unicode\r\n"
       "ERROR       partner 'sapprd:3300' not reached\r\nTIME        Mon Oct  7 06:15:00 2024\r\n"
       "RELEASE     753\r\nCOMPONENT   NI (network interface)\r\nDETAIL      NiPConnect2",
       "", " - partner 'sapprd:3300' not reached"},
      {"several lines, none an ERROR line",
       "LOCATION    CPIC (TCP/IP) on local host\nERRORS      two\r\n", "",
       " - LOCATION    CPIC (TCP/IP) on local host ERRORS      two"},
      {"no message: the key", "", "RFC_COMMUNICATION_FAILURE", " - RFC_COMMUNICATION_FAILURE"},
      {"neither", "", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    TestContext t;
    NwErrorInfo& error = NwState(t.ctx).lastError;
    ToSapText(c.message, CodePage::Latin1).copy(error.message, 511);
    ToSapText(c.key, CodePage::Latin1).copy(error.key, 127);
    ExplainFailedStep(t.ctx);
    EXPECT_EQ(t.ctx.output.Text(), c.appended);
  }
}

}  // namespace
}  // namespace kelvoran
