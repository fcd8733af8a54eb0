/// The measurement: the database object-consistency figures of a DB2-for-IBM-i system
/// (function module DB02_DB4_GET_INFO), turned into the description text and three channels,
/// and on request nine more: the storage pool's fill and the objects missing on either side.
#ifndef KELVORAN_RFC_DB4_QUERY_H
#define KELVORAN_RFC_DB4_QUERY_H

#include <cstdint>

#include "rfc/rfc_library.h"

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

/// The option keyword that asks a single-system run for the detail channels (the comma belongs
/// to it); global runs write no channels, so it does nothing there.
inline constexpr const char* kDetailKeyword = ",DETAIL";
bool DetailRequested(const RunContext& ctx);

/// Writes the result document of a received DB02INFDB4 record (`info`, 120 bytes): the
/// description text and the channels of the three totals, and with ",DETAIL" after them the
/// nine detail channels: "System ASP used" (SYS_ASP_P, its five decimals exactly as received)
/// and the eight counts of missing and unknown objects, each with an error limit of 0 for
/// PRTG. False, with Error 1034 appended to the output instead of a document, when SYS_ASP_P
/// is not a packed number.
bool WriteResultDocument(RunContext& ctx, const char* info);

/// Calls DB02_DB4_GET_INFO with the six tables and receives API_QWCRSSTS_RC and the
/// DB02INFDB4 record (120 bytes); returns the RFC result code. The exception name is copied
/// into `exceptionText` (256 bytes) for results 2 and 3. Installs the two structures on first
/// use (a refusal ends the process with the failure report).
int CallDb4Info(RunContext& ctx, RfcHandle handle, std::int32_t* apiResult, char* info,
                RfcTableHandle addtlIndex, RfcTableHandle addtlTables, RfcTableHandle addtlViews,
                RfcTableHandle missIndex, RfcTableHandle missTables, RfcTableHandle missViews,
                char* exceptionText);

/// Runs the query with six fresh tables. On success sets `callStatus` to "OK" and, unless this
/// is a global run, writes the whole result document; on failure appends the numbered message.
/// Returns the RFC result code. When the call succeeded but its answer cannot be written
/// (Error 1034), the result is 0 and `callStatus` stays as the caller set it.
int QueryDb4Info(RunContext& ctx, RfcHandle handle);

}  // namespace kelvoran

#endif
