/// What a simulated system answers: the values its landscape entry gives, defaults for the
/// rest, written in the layouts of the function modules' parameters.
#ifndef KELVORAN_SIMSAP_ANSWERS_H
#define KELVORAN_SIMSAP_ANSWERS_H

#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "function_modules.h"
#include "landscape.h"

namespace simsap {

/// The local time, read when a default needs it.
using LocalTime = std::function<std::tm()>;

/// The text `system` answers for `field`: the landscape's value or the default. Defaults: the
/// system's name for the system IDs and database name, its host for the host fields, "DB4" for
/// the database system, the date and time `now` for FS_A_DATE and FS_A_TIME, 0 for numbers,
/// blanks for other texts, and a few plausible constants (see docs/landscape.md).
std::string AnswerValue(const SystemEntry& system, const FieldDef& field, const LocalTime& now);

/// Writes `parameter` as `system` answers it into its bytes at `out` (the field's length or
/// the structure's length).
void WriteExport(const SystemEntry& system, const ParameterDef& parameter, unsigned char* out,
                 const LocalTime& now);

/// The rows `system` answers in `table`, each blank-padded to `rowLength`.
std::vector<std::string> AnswerRows(const SystemEntry& system, const std::string& table,
                                    unsigned rowLength);

}  // namespace simsap

#endif
