/// DB02_DB4_GET_INFO through the classic library: its call, its six tables and the DB02INFDB4
/// record.
#ifndef KELVORAN_RFC_CLASSIC_DB4_CALL_H
#define KELVORAN_RFC_CLASSIC_DB4_CALL_H

#include <cstdint>

#include "rfc/classic/rfc_library.h"
#include "rfc/db4_query.h"

namespace kelvoran {

struct RunContext;

/// Length of the DB02INFDB4 record, and of a row of the six object tables.
inline constexpr unsigned kDb4InfoLength = 120;
inline constexpr unsigned kObjectRowLength = 40;

/// The six object tables, in the order of creation, of both parameter lists and of deletion.
inline constexpr const char* kObjectTableNames[] = {"ADDTL_INDEX", "ADDTL_TABLES",
                                                    "ADDTL_VIEWS", "MISS_INDEX",
                                                    "MISS_TABLES", "MISS_VIEWS"};
inline constexpr int kObjectTableCount = 6;

/// The figures of a received DB02INFDB4 record (`info`, 120 bytes), each field at the offset
/// the library lays it out at; a text field ends at its length or an earlier NUL, SYS_ASP_P is
/// decoded from its packed decimal.
Db4Figures Db4FiguresOfRecord(const char* info);

/// Calls DB02_DB4_GET_INFO with the six tables and receives API_QWCRSSTS_RC and the
/// DB02INFDB4 record (120 bytes); returns the RFC result code. The exception name is copied
/// into `exceptionText` (256 bytes) for results 2 and 3. Installs the two structures on first
/// use (a refusal ends the process with the failure report).
int CallDb4Info(RunContext& ctx, RfcHandle handle, std::int32_t* apiResult, char* info,
                RfcTableHandle addtlIndex, RfcTableHandle addtlTables, RfcTableHandle addtlViews,
                RfcTableHandle missIndex, RfcTableHandle missTables, RfcTableHandle missViews,
                char* exceptionText);

}  // namespace kelvoran

#endif
