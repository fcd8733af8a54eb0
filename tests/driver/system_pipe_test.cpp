#include "driver/system_pipe.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kelvoran {
namespace {

SystemRequest SampleRequest() {
  SystemRequest request;
  request.parentId = 4711;
  request.profileDirectory = "C:\\PRTG\\Custom Sensors\\EXEXML\\";
  request.systemEntry = "PRD.P00";
  // Any bytes: the separators of the format among them.
  request.parameterText = std::string("Item=A:B ,SYSLOG\n12:x\r\n") + '\0' + "end";
  request.flavour = HostFlavour::Vistrel;
  request.verbose = true;
  request.detail = true;
  return request;
}

TEST(SystemPipeTest, RequestArrivesWholeInAnyPieces) {
  const SystemRequest sent = SampleRequest();
  const std::string bytes = FormatRequest(sent);
  for (std::size_t cut = 0; cut <= bytes.size(); ++cut) {
    RequestReader reader;
    ASSERT_TRUE(reader.Feed(bytes.substr(0, cut))) << cut;
    EXPECT_EQ(reader.Complete().has_value(), cut == bytes.size()) << cut;
    ASSERT_TRUE(reader.Feed(bytes.substr(cut))) << cut;
    const std::optional<SystemRequest> got = reader.Complete();
    ASSERT_TRUE(got) << cut;
    EXPECT_EQ(got->parentId, sent.parentId);
    EXPECT_EQ(got->profileDirectory, sent.profileDirectory);
    EXPECT_EQ(got->systemEntry, sent.systemEntry);
    EXPECT_EQ(got->parameterText, sent.parameterText);
    EXPECT_EQ(got->flavour, sent.flavour);
    EXPECT_EQ(got->verbose, sent.verbose);
    EXPECT_EQ(got->detail, sent.detail);
  }
}

TEST(SystemPipeTest, BrokenStreams) {
  const std::string request = FormatRequest(SampleRequest());
  const std::string withoutEnd = request.substr(0, request.size() - 3);
  struct Row {
    const char* what;
    std::string bytes;
  };
  const Row rows[] = {
      {"lower-case kind", "i4:4711\n"},
      {"no length", "D:x\n"},
      {"leading zero", "D01:x\n"},
      {"sign", "D+1:x\n"},
      {"too long a length", "D12345678:"},
      {"length over the most", "D1000001:"},
      {"no line feed after the payload", "D1:xy"},
      {"letters in the length", "D1x"},
      {"unknown kind", withoutEnd + "Q0:\n"},
      {"repeated kind", withoutEnd + "S1:x\n"},
      {"unknown flavour", "F3:PRT\n"},
      {"verbose neither 0 nor 1", "V3:yes\n"},
      {"detail neither 0 nor 1", "G1:2\n"},
      {"process id not a number", "I2:4a\n"},
      {"process id beyond 32 bits", "I10:4294967296\n"},
      {"payload on the end", withoutEnd + "E1:x\n"},
      {"a record after the end", request + "D0:\n"},
  };
  for (const Row& row : rows) {
    RequestReader reader;
    EXPECT_FALSE(reader.Feed(row.bytes)) << row.what;
    EXPECT_FALSE(reader.Complete()) << row.what;
    EXPECT_FALSE(reader.Feed(FormatRecord('E', ""))) << row.what << ": stays broken";
  }
}

TEST(SystemPipeTest, RequestMissingAKind) {
  RequestReader reader;
  ASSERT_TRUE(reader.Feed(FormatRecord('S', "PRD.P00") + FormatRecord('E', "")));
  EXPECT_FALSE(reader.Complete());
}

TEST(SystemPipeTest, ReportInOrder) {
  const std::string bytes = FormatRecord('A', "ReadSystemProfile") + FormatRecord('N', "PRD.P00") +
                            FormatRecord('L', "* 10:00:00 PRD.P00, h, PRD, 00, 100") +
                            FormatRecord('O', "* SapRfc.Ini.......: PRD<\n") +
                            FormatRecord('W', "warning\n") + FormatRecord('O', "") +
                            FormatRecord('A', "RfcReceive") + FormatRecord('T', "1234") +
                            FormatRecord('M', "Error 1018: DataBase mismatch !") +
                            FormatRecord('R', "Rfc Failure");
  ReportReader reader;
  ASSERT_TRUE(reader.Feed(bytes));
  const SystemReport& report = reader.Report();
  EXPECT_TRUE(reader.Ended());
  EXPECT_EQ(report.operation, "RfcReceive");
  EXPECT_EQ(report.destination, "PRD.P00");
  EXPECT_EQ(report.consoleLine, "* 10:00:00 PRD.P00, h, PRD, 00, 100");
  const std::vector<std::pair<char, std::string>> printed = {
      {'O', "* SapRfc.Ini.......: PRD<\n"}, {'W', "warning\n"}, {'O', ""}};
  EXPECT_EQ(report.printed, printed);
  EXPECT_EQ(report.verdict, "Rfc Failure");
  EXPECT_EQ(report.milliseconds, 1234ul);
  EXPECT_EQ(report.message, "Error 1018: DataBase mismatch !");
  EXPECT_FALSE(report.fatal);
}

// A fatal ending is the result; closing the connection comes after it, with its steps and
// what it prints (the library's failure report), kept apart from what came before.
TEST(SystemPipeTest, ReportGoesOnAfterAFatalEnding) {
  const std::string bytes = FormatRecord('O', "before") + FormatRecord('X', "Error 1018") +
                            FormatRecord('A', "RfcClose") + FormatRecord('O', "RFC error\n") +
                            FormatRecord('W', "w");
  ReportReader reader;
  ASSERT_TRUE(reader.Feed(bytes));
  const SystemReport& report = reader.Report();
  EXPECT_TRUE(reader.Ended());
  EXPECT_EQ(report.fatal, "Error 1018");
  EXPECT_EQ(report.operation, "RfcClose");
  EXPECT_EQ(report.printed, (PrintedPieces{{'O', "before"}}));
  EXPECT_EQ(report.printedAfterResult, (PrintedPieces{{'O', "RFC error\n"}, {'W', "w"}}));
}

TEST(SystemPipeTest, BrokenReports) {
  struct Row {
    const char* what;
    std::string bytes;
  };
  const Row rows[] = {
      {"unknown verdict", FormatRecord('R', "Fine")},
      {"anything after the verdict", FormatRecord('R', "Processed") + FormatRecord('A', "x")},
      {"a verdict after the fatal message", FormatRecord('X', "Error 1018") + FormatRecord('R', "Processed")},
      {"a console line after the fatal message", FormatRecord('X', "E") + FormatRecord('L', "")},
      {"a time that is no number", FormatRecord('T', "12ms")},
      {"a kind of the request", FormatRecord('E', "")},
      {"not a record", "<Prtg>\n"},
  };
  for (const Row& row : rows) {
    ReportReader reader;
    EXPECT_FALSE(reader.Feed(row.bytes)) << row.what;
    EXPECT_TRUE(reader.Report().broken) << row.what;
  }
}

TEST(SystemPipeTest, StreamTooLong) {
  RecordReader reader;
  const std::string record = FormatRecord('O', std::string(kLongestRecord, 'x'));
  std::size_t fed = 0;
  while (fed + record.size() <= kLongestStream) {
    ASSERT_TRUE(reader.Feed(record));
    fed += record.size();
  }
  EXPECT_FALSE(reader.Feed(record));
}

}  // namespace
}  // namespace kelvoran
