#include "rfc/library_steps.h"

#include <string>
#include <string_view>
#include <utility>

#include "rfc/nwrfc/library_state.h"
#include "run_context.h"

namespace kelvoran {

namespace {

bool IsTagBlank(char c) { return c == ' ' || c == '\t'; }

// SAP's network layer reports a partner it did not reach in a block of lines, each a tag and
// its text ("LOCATION    CPIC (TCP/IP) on local host", "ERROR       partner 'sapprd:3300' not
// reached", "TIME ...", "DETAIL ..."): the text of its ERROR line says what went wrong. Empty
// when the message has no such line.
std::string ErrorLineText(const std::string& message) {
  std::size_t at = 0;
  while (at < message.size()) {
    std::size_t end = message.find('\n', at);
    if (end == std::string::npos) end = message.size();
    std::string_view line(message.data() + at, end - at);
    at = end + 1;
    if (line.size() <= 5 || line.substr(0, 5) != "ERROR" || !IsTagBlank(line[5])) continue;
    line.remove_prefix(5);
    while (!line.empty() && IsTagBlank(line.front())) line.remove_prefix(1);
    while (!line.empty() && (IsTagBlank(line.back()) || line.back() == '\r')) line.remove_suffix(1);
    if (!line.empty()) return std::string(line);
  }
  return "";
}

// The message on one line: its line breaks become blanks.
std::string OneLine(const std::string& text) {
  std::string line;
  for (char c : text) {
    if (c == '\n' || c == '\r') {
      if (!line.empty() && line.back() != ' ') line += ' ';
    } else {
      line += c;
    }
  }
  while (!line.empty() && line.back() == ' ') line.pop_back();
  return line;
}

}  // namespace

// The library initialises itself when it is loaded and has no error handler: every failure
// arrives as a code.
const char* InstallRfcEnvironment(RunContext&) { return nullptr; }

// The library writes no trace line for a failure but hands back its error record: its message
// explains the step, on one line. A message of several lines with an ERROR line (a
// communication failure's) is explained by that line's text.
void ExplainFailedStep(RunContext& ctx) {
  const NwErrorInfo& error = NwState(ctx).lastError;
  std::string explanation = ErrorText(error.message);
  if (explanation.find('\n') != std::string::npos) {
    std::string errorLine = ErrorLineText(explanation);
    if (!errorLine.empty()) explanation = std::move(errorLine);
  }
  if (explanation.empty()) explanation = ErrorText(error.key);
  const std::string line = OneLine(explanation);
  if (line.empty()) return;
  ctx.output.Append(" - ");
  ctx.output.Append(line);
}

// Its trace files are its own (dev_rfc.log on severe errors, rfc*.trc with tracing on): a run
// deletes none of them.
const char* LibraryTraceFile() { return nullptr; }

}  // namespace kelvoran
