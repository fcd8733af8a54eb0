/// The measurement: the database object-consistency figures of a DB2-for-IBM-i system
/// (function module DB02_DB4_GET_INFO), turned into the description text and three channels,
/// and on request nine more: the storage pool's fill and the objects missing on either side.
#ifndef KELVORAN_RFC_DB4_QUERY_H
#define KELVORAN_RFC_DB4_QUERY_H

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "rfc/connection.h"

namespace kelvoran {

struct RunContext;

/// The option keyword that asks a single-system run for the detail channels (the comma belongs
/// to it); global runs write no channels, so it does nothing there.
inline constexpr const char* kDetailKeyword = ",DETAIL";
bool DetailRequested(const RunContext& ctx);

/// The integer fields of DB02_DISPLAYED_INFO (structure DB02INFDB4) that the document shows: the
/// three totals, then the objects missing in the database and unknown to the ABAP Dictionary.
inline constexpr const char* kDb4CountFields[] = {
    "TAB_CNT",    "CST_CNT",    "IDX_CNT",    "TAB_MIS_DB", "CST_MIS_DB", "IDX_MIS_DB",
    "VIE_MIS_DB", "TAB_MIS_DD", "IDX_MIS_DD", "CST_MIS_DD", "VIE_MIS_DD"};
inline constexpr int kDb4CountFieldCount = sizeof kDb4CountFields / sizeof kDb4CountFields[0];
/// The packed field of the storage pool's fill, a percentage with five decimals.
inline constexpr const char* kAspUsedField = "SYS_ASP_P";

/// What a system answered to DB02_DB4_GET_INFO, as the document needs it, whichever library
/// delivered it.
struct Db4Figures {
  /// DBSYS, FS_A_DATE, FS_A_TIME and SYSID as received (fixed width, blank-padded).
  std::string databaseSystem, date, time, systemId;
  /// The values of kDb4CountFields, in that order.
  std::int32_t counts[kDb4CountFieldCount] = {};
  /// SYS_ASP_P as a decimal text with its five decimals ("63.41250"); empty when what was
  /// received is no number.
  std::optional<std::string> aspUsed;

  std::int32_t Count(std::string_view field) const;
};

/// Writes the result document of received figures: the description text and the channels of
/// the three totals, and with ",DETAIL" after them the nine detail channels: "System ASP used"
/// (SYS_ASP_P, its five decimals exactly as received) and the eight counts of missing and
/// unknown objects, each with an error limit of 0 for PRTG. False, with Error 1034 appended to
/// the output instead of a document, when the detail channels are asked for and SYS_ASP_P is
/// no number.
bool WriteResultDocument(RunContext& ctx, const Db4Figures& figures);

/// Runs the query. On success sets `callStatus` to "OK" and, unless this is a global run,
/// writes the whole result document; on failure appends the numbered message. Returns the
/// result: 0 when the call succeeded, the library's code otherwise. When the call succeeded but
/// its answer cannot be written (Error 1034), the result is 0 and `callStatus` stays as the
/// caller set it.
int QueryDb4Info(RunContext& ctx, ConnectionHandle handle);

}  // namespace kelvoran

#endif
