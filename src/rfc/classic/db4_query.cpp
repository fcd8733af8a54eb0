#include "rfc/db4_query.h"

#include <cstring>
#include <string>
#include <string_view>

#include "output/log_writer.h"
#include "rfc/classic/db4_call.h"
#include "rfc/classic/failure_report.h"
#include "rfc/classic/library_state.h"
#include "rfc/classic/packed_decimal.h"
#include "rfc/classic/rfc_result.h"
#include "rfc/classic/system_info_call.h"
#include "run_context.h"
#include "step_report.h"

namespace kelvoran {

namespace {

struct FieldEntry {
  const char* name;
  unsigned type;
  unsigned length;
  unsigned decimals;
};

// DB02INFDB4: 21 fields packed without gaps; the library computes the offsets.
constexpr FieldEntry kDb4InfoFields[] = {
    {"DBSYS", RFC_TYPE_CHAR, 10, 0},      {"FS_A_DATE", RFC_TYPE_DATE, 8, 0},
    {"FS_A_TIME", RFC_TYPE_TIME, 6, 0},   {"SYSID", RFC_TYPE_CHAR, 8, 0},
    {"TAB_CNT", RFC_TYPE_INT, 4, 0},      {"CST_CNT", RFC_TYPE_INT, 4, 0},
    {"IDX_CNT", RFC_TYPE_INT, 4, 0},      {"TAB_SIZE", RFC_TYPE_PACKED, 8, 0},
    {"CST_SIZE", RFC_TYPE_PACKED, 8, 0},  {"IDX_SIZE", RFC_TYPE_PACKED, 8, 0},
    {"TAB_MIS_DB", RFC_TYPE_INT, 4, 0},   {"CST_MIS_DB", RFC_TYPE_INT, 4, 0},
    {"IDX_MIS_DB", RFC_TYPE_INT, 4, 0},   {"VIE_MIS_DB", RFC_TYPE_INT, 4, 0},
    {"TAB_MIS_DD", RFC_TYPE_INT, 4, 0},   {"IDX_MIS_DD", RFC_TYPE_INT, 4, 0},
    {"CST_MIS_DD", RFC_TYPE_INT, 4, 0},   {"VIE_MIS_DD", RFC_TYPE_INT, 4, 0},
    {"SYS_ASP_P", RFC_TYPE_PACKED, 8, 5}, {"SYS_ASP_S", RFC_TYPE_PACKED, 6, 1},
    {"ASP_TOT_S", RFC_TYPE_PACKED, 6, 1}};
constexpr unsigned kDb4InfoFieldCount = sizeof kDb4InfoFields / sizeof kDb4InfoFields[0];

// Positions of the text fields the description uses.
constexpr unsigned kDbSysOffset = 0, kDbSysLength = 10;
constexpr unsigned kDateOffset = 10, kDateLength = 8;
constexpr unsigned kTimeOffset = 18, kTimeLength = 6;
constexpr unsigned kSysIdOffset = 24, kSysIdLength = 8;

// Where a field lies in the record, the fields packed without gaps as the library lays them out.
constexpr unsigned FieldOffset(std::string_view name) {
  unsigned offset = 0;
  for (const FieldEntry& f : kDb4InfoFields) {
    if (name == f.name) return offset;
    offset += f.length;
  }
  return kDb4InfoLength;
}
constexpr const FieldEntry& Field(std::string_view name) {
  for (const FieldEntry& f : kDb4InfoFields) {
    if (name == f.name) return f;
  }
  return kDb4InfoFields[0];
}
static_assert(FieldOffset("ASP_TOT_S") + Field("ASP_TOT_S").length == kDb4InfoLength);
static_assert(FieldOffset("DBSYS") == kDbSysOffset && FieldOffset("FS_A_DATE") == kDateOffset &&
              FieldOffset("FS_A_TIME") == kTimeOffset && FieldOffset("SYSID") == kSysIdOffset);

// Every field the document takes is in the record, with the type read from it.
constexpr bool FiguresAreKnown() {
  for (const char* field : kDb4CountFields) {
    if (FieldOffset(field) == kDb4InfoLength || Field(field).type != RFC_TYPE_INT) return false;
  }
  return FieldOffset(kAspUsedField) < kDb4InfoLength &&
         Field(kAspUsedField).type == RFC_TYPE_PACKED;
}
static_assert(FiguresAreKnown());

void Install(RunContext& ctx, const char* name, RfcTypeElement* elements, unsigned count,
             RfcTypeHandle& type) {
  if (type != 0) return;
  EnterStep(ctx, "RfcInstallStructure");
  if (Rfc(ctx).RfcInstallStructure(name, elements, count, &type) != RFC_OK) {
    ReportRfcFailure(ctx, "RfcInstallStructure");
  }
}

void InstallTypes(RunContext& ctx) {
  RfcTypeElement info[kDb4InfoFieldCount];
  for (unsigned i = 0; i < kDb4InfoFieldCount; ++i) {
    const FieldEntry& f = kDb4InfoFields[i];
    info[i] = RfcTypeElement{const_cast<char*>(f.name), f.type, f.length, f.decimals, 0};
  }
  Install(ctx, "DB02INFDB4", info, kDb4InfoFieldCount, ClassicState(ctx).db4InfoType);
  RfcTypeElement row[] = {
      RfcTypeElement{const_cast<char*>("NAME"), RFC_TYPE_CHAR, kObjectRowLength, 0, 0}};
  Install(ctx, "MISSOBJ", row, 1, ClassicState(ctx).missingObjectType);
}

// A field of the record, up to its length or an earlier NUL.
std::string_view TakeField(const char* record, unsigned offset, unsigned length) {
  const char* field = record + offset;
  const void* end = std::memchr(field, '\0', length);
  return std::string_view(field, end ? static_cast<const char*>(end) - field : length);
}

std::int32_t CountAt(const char* record, unsigned offset) {
  std::int32_t value;
  std::memcpy(&value, record + offset, sizeof value);
  return value;
}

}  // namespace

Db4Figures Db4FiguresOfRecord(const char* info) {
  Db4Figures figures;
  figures.databaseSystem = TakeField(info, kDbSysOffset, kDbSysLength);
  figures.date = TakeField(info, kDateOffset, kDateLength);
  figures.time = TakeField(info, kTimeOffset, kTimeLength);
  figures.systemId = TakeField(info, kSysIdOffset, kSysIdLength);
  for (int i = 0; i < kDb4CountFieldCount; ++i) {
    figures.counts[i] = CountAt(info, FieldOffset(kDb4CountFields[i]));
  }
  const FieldEntry& asp = Field(kAspUsedField);
  figures.aspUsed = DecodePackedDecimal(
      reinterpret_cast<const unsigned char*>(info) + FieldOffset(kAspUsedField), asp.length,
      asp.decimals);
  return figures;
}

int CallDb4Info(RunContext& ctx, RfcHandle handle, std::int32_t* apiResult, char* info,
                RfcTableHandle addtlIndex, RfcTableHandle addtlTables, RfcTableHandle addtlViews,
                RfcTableHandle missIndex, RfcTableHandle missTables, RfcTableHandle missViews,
                char* exceptionText) {
  InstallTypes(ctx);

  const RfcTableHandle handles[kObjectTableCount] = {addtlIndex, addtlTables, addtlViews,
                                                     missIndex,  missTables,  missViews};
  RfcTable tables[kObjectTableCount + 1];
  for (int i = 0; i < kObjectTableCount; ++i) {
    tables[i] = RfcTable{const_cast<char*>(kObjectTableNames[i]),
                         static_cast<unsigned>(std::strlen(kObjectTableNames[i])),
                         ClassicState(ctx).missingObjectType, kObjectRowLength, handles[i],
                         RFC_TABLE_BY_REFERENCE, 0};
  }
  tables[kObjectTableCount] = RfcTable{nullptr, 0, 0, 0, nullptr, 0, 0};

  RfcParameter noParameters[] = {RfcParameter{nullptr, 0, 0, 0, nullptr}};
  EnterStep(ctx, "RfcCall");
  int result = Rfc(ctx).RfcCall(handle, "DB02_DB4_GET_INFO", noParameters, tables);
  WriteLogLine(ctx, static_cast<std::int32_t>(handle), "RfcCall called", "");
  if (result != RFC_OK) return result;

  RfcParameter received[] = {
      RfcParameter{const_cast<char*>("API_QWCRSSTS_RC"), 15, RFC_TYPE_INT, 4, apiResult},
      RfcParameter{const_cast<char*>("DB02_DISPLAYED_INFO"), 19, ClassicState(ctx).db4InfoType,
                   kDb4InfoLength, info},
      RfcParameter{nullptr, 0, 0, 0, nullptr}};
  char* exception = nullptr;
  EnterStep(ctx, "RfcReceive");
  result = Rfc(ctx).RfcReceive(handle, received, tables, &exception);
  WriteLogLine(ctx, static_cast<std::int32_t>(handle), "RfcReceive called", "");
  CopyExceptionName(result, exception, exceptionText);
  return result;
}

int QueryDb4Info(RunContext& ctx, ConnectionHandle handle) {
  RfcTableHandle tables[kObjectTableCount];
  EnterStep(ctx, "ItCreate");
  for (int i = 0; i < kObjectTableCount; ++i) {
    tables[i] = Rfc(ctx).ItCreate(kObjectTableNames[i], kObjectRowLength, 0, 0);
    if (tables[i] == nullptr) {
      ReportRfcFailure(ctx, std::string("ItCreate ") + kObjectTableNames[i]);
    }
  }

  std::int32_t apiResult = 0;
  char info[kDb4InfoLength];
  std::memset(info, ' ', sizeof info);
  char exceptionText[kExceptionTextSize] = "";
  ctx.lastQueryResult = CallDb4Info(ctx, handle, &apiResult, info, tables[0], tables[1],
                                    tables[2], tables[3], tables[4], tables[5], exceptionText);

  if (ctx.lastQueryResult == RFC_OK) {
    if (ctx.globalRun || WriteResultDocument(ctx, Db4FiguresOfRecord(info))) {
      ctx.callStatus = kCallOk;
    }
  } else {
    ctx.output.Append(RfcResultMessage(ctx.lastQueryResult, exceptionText));
  }

  EnterStep(ctx, "ItDelete");
  for (int i = 0; i < kObjectTableCount; ++i) {
    if (Rfc(ctx).ItDelete(tables[i]) != 0) {
      ReportRfcFailure(ctx, std::string("ItDelete ") + kObjectTableNames[i]);
    }
  }
  return ctx.lastQueryResult;
}

}  // namespace kelvoran
