#include "rfc/library_steps.h"

#include <string>

#include "rfc/nwrfc/library_state.h"
#include "run_context.h"

namespace kelvoran {

// The library initialises itself when it is loaded and has no error handler: every failure
// arrives as a code.
const char* InstallRfcEnvironment(RunContext&) { return nullptr; }

// The library writes no trace line for a failure but hands back its error record: its message
// explains the step, on one line (a communication failure's message has several).
void ExplainFailedStep(RunContext& ctx) {
  const NwErrorInfo& error = NwState(ctx).lastError;
  std::string explanation = ErrorText(error.message);
  if (explanation.empty()) explanation = ErrorText(error.key);
  std::string line;
  for (char c : explanation) {
    if (c == '\n' || c == '\r') {
      if (!line.empty() && line.back() != ' ') line += ' ';
    } else {
      line += c;
    }
  }
  while (!line.empty() && line.back() == ' ') line.pop_back();
  if (line.empty()) return;
  ctx.output.Append(" - ");
  ctx.output.Append(line);
}

// Its trace files are its own (dev_rfc.log on severe errors, rfc*.trc with tracing on): a run
// deletes none of them.
const char* LibraryTraceFile() { return nullptr; }

}  // namespace kelvoran
