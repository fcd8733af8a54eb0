#include "rfc/db4_query.h"

#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "output/channel_writer.h"
#include "output/document.h"
#include "output/log_writer.h"
#include "rfc/failure_report.h"
#include "rfc/packed_decimal.h"
#include "rfc/rfc_result.h"
#include "rfc/system_info.h"
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

// Positions of the fields the description text and the channels use.
constexpr unsigned kDbSysOffset = 0, kDbSysLength = 10;
constexpr unsigned kDateOffset = 10, kDateLength = 8;
constexpr unsigned kTimeOffset = 18, kTimeLength = 6;
constexpr unsigned kSysIdOffset = 24, kSysIdLength = 8;
constexpr unsigned kTableCountOffset = 32, kKeyCountOffset = 36, kIndexCountOffset = 40;

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
static_assert(FieldOffset("TAB_CNT") == kTableCountOffset &&
              FieldOffset("CST_CNT") == kKeyCountOffset &&
              FieldOffset("IDX_CNT") == kIndexCountOffset);

// The storage pool's fill, a percentage with five decimals.
constexpr const char* kAspUsedField = "SYS_ASP_P";
constexpr const char* kAspUsedChannel = "System ASP used";

// The counts of objects that the ABAP Dictionary defines and the database lacks, and of those
// the database holds and the Dictionary does not know. Any one of them is an inconsistency,
// so each alarms in PRTG from the first object on.
struct ObjectCountChannel {
  const char* name;
  const char* field;
  const char* alarm;
};
constexpr ObjectCountChannel kObjectCountChannels[] = {
    {"Tables missing in DB", "TAB_MIS_DB",
     "Tables of the ABAP Dictionary are missing in the database"},
    {"Indexes missing in DB", "IDX_MIS_DB",
     "Indexes of the ABAP Dictionary are missing in the database"},
    {"Prim.Keys missing in DB", "CST_MIS_DB",
     "Primary keys of the ABAP Dictionary are missing in the database"},
    {"Views missing in DB", "VIE_MIS_DB",
     "Views of the ABAP Dictionary are missing in the database"},
    {"Tables unknown to DDIC", "TAB_MIS_DD",
     "Tables in the database are unknown to the ABAP Dictionary"},
    {"Indexes unknown to DDIC", "IDX_MIS_DD",
     "Indexes in the database are unknown to the ABAP Dictionary"},
    {"Prim.Keys unknown to DDIC", "CST_MIS_DD",
     "Primary keys in the database are unknown to the ABAP Dictionary"},
    {"Views unknown to DDIC", "VIE_MIS_DD",
     "Views in the database are unknown to the ABAP Dictionary"}};

constexpr bool DetailFieldsAreKnown() {
  for (const ObjectCountChannel& c : kObjectCountChannels) {
    if (FieldOffset(c.field) == kDb4InfoLength || Field(c.field).type != RFC_TYPE_INT) {
      return false;
    }
  }
  return FieldOffset(kAspUsedField) < kDb4InfoLength &&
         Field(kAspUsedField).type == RFC_TYPE_PACKED;
}
static_assert(DetailFieldsAreKnown());

void Install(RunContext& ctx, const char* name, RfcTypeElement* elements, unsigned count,
             RfcTypeHandle& type) {
  if (type != 0) return;
  EnterStep(ctx, "RfcInstallStructure");
  if (RfcInstallStructure(name, elements, count, &type) != RFC_OK) {
    ReportRfcFailure(ctx, "RfcInstallStructure");
  }
}

void InstallTypes(RunContext& ctx) {
  RfcTypeElement info[kDb4InfoFieldCount];
  for (unsigned i = 0; i < kDb4InfoFieldCount; ++i) {
    const FieldEntry& f = kDb4InfoFields[i];
    info[i] = RfcTypeElement{const_cast<char*>(f.name), f.type, f.length, f.decimals, 0};
  }
  Install(ctx, "DB02INFDB4", info, kDb4InfoFieldCount, ctx.rfc.db4InfoType);
  RfcTypeElement row[] = {
      RfcTypeElement{const_cast<char*>("NAME"), RFC_TYPE_CHAR, kObjectRowLength, 0, 0}};
  Install(ctx, "MISSOBJ", row, 1, ctx.rfc.missingObjectType);
}

// A field of the record, up to its length or an earlier NUL.
std::string_view TakeField(const char* record, unsigned offset, unsigned length) {
  const char* field = record + offset;
  const void* end = std::memchr(field, '\0', length);
  return std::string_view(field, end ? static_cast<const char*>(end) - field : length);
}

std::string_view TrimTrailingBlanks(std::string_view text) {
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

std::string FormatCount(const char* record, unsigned offset) {
  std::int32_t value;
  std::memcpy(&value, record + offset, sizeof value);
  char text[16];
  std::snprintf(text, sizeof text, "%ld", static_cast<long>(value));
  return text;
}

}  // namespace

bool DetailRequested(const RunContext& ctx) {
  return ctx.parameterString.find(kDetailKeyword) != std::string::npos;
}

bool WriteResultDocument(RunContext& ctx, const char* info) {
  const bool detail = DetailRequested(ctx);
  std::optional<std::string> aspUsed;
  if (detail) {
    const FieldEntry& field = Field(kAspUsedField);
    aspUsed = DecodePackedDecimal(
        reinterpret_cast<const unsigned char*>(info) + FieldOffset(kAspUsedField), field.length,
        field.decimals);
    if (!aspUsed) {
      ctx.output.Append(std::string("Error 1034: Invalid Number in ") + kAspUsedField +
                        " received !");
      return false;
    }
  }

  BeginDocument(ctx);
  BeginTextBlock(ctx);
  ctx.output.Append("(");
  AppendOutsideText(ctx, ctx.profile.destination);
  ctx.output.Append(") Kelvoran: Info=");
  AppendOutsideText(ctx, TrimTrailingBlanks(TakeField(info, kDbSysOffset, kDbSysLength)));
  ctx.output.Append(",Date=");
  AppendOutsideText(ctx, TakeField(info, kDateOffset, kDateLength));
  ctx.output.Append(",Time=");
  AppendOutsideText(ctx, TakeField(info, kTimeOffset, kTimeLength));
  ctx.output.Append(",Sid=");
  AppendOutsideText(ctx, TakeField(info, kSysIdOffset, kSysIdLength));
  EndTextBlock(ctx);
  WriteChannel(ctx, "No.of DB-Tables", FormatCount(info, kTableCountOffset), "");
  WriteChannel(ctx, "No.of Prim.Keys", FormatCount(info, kKeyCountOffset), "");
  WriteChannel(ctx, "No.of Indexes", FormatCount(info, kIndexCountOffset), "");
  if (detail) {
    PrtgChannelTags percent;
    percent.unit = "Percent";
    percent.decimal = true;
    WriteChannel(ctx, kAspUsedChannel, *aspUsed, "PerCent", percent);
    for (const ObjectCountChannel& channel : kObjectCountChannels) {
      PrtgChannelTags count;
      count.unit = "Count";
      count.errorAbove = "0";
      count.errorMessage = channel.alarm;
      WriteChannel(ctx, channel.name, FormatCount(info, FieldOffset(channel.field)), "", count);
    }
  }
  EndDocument(ctx);
  return true;
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
                         ctx.rfc.missingObjectType, kObjectRowLength, handles[i],
                         RFC_TABLE_BY_REFERENCE, 0};
  }
  tables[kObjectTableCount] = RfcTable{nullptr, 0, 0, 0, nullptr, 0, 0};

  RfcParameter noParameters[] = {RfcParameter{nullptr, 0, 0, 0, nullptr}};
  EnterStep(ctx, "RfcCall");
  int result = RfcCall(handle, "DB02_DB4_GET_INFO", noParameters, tables);
  WriteLogLine(ctx, static_cast<std::int32_t>(handle), "RfcCall called", "");
  if (result != RFC_OK) return result;

  RfcParameter received[] = {
      RfcParameter{const_cast<char*>("API_QWCRSSTS_RC"), 15, RFC_TYPE_INT, 4, apiResult},
      RfcParameter{const_cast<char*>("DB02_DISPLAYED_INFO"), 19, ctx.rfc.db4InfoType,
                   kDb4InfoLength, info},
      RfcParameter{nullptr, 0, 0, 0, nullptr}};
  char* exception = nullptr;
  EnterStep(ctx, "RfcReceive");
  result = RfcReceive(handle, received, tables, &exception);
  WriteLogLine(ctx, static_cast<std::int32_t>(handle), "RfcReceive called", "");
  CopyExceptionName(result, exception, exceptionText);
  return result;
}

int QueryDb4Info(RunContext& ctx, RfcHandle handle) {
  RfcTableHandle tables[kObjectTableCount];
  EnterStep(ctx, "ItCreate");
  for (int i = 0; i < kObjectTableCount; ++i) {
    tables[i] = ItCreate(kObjectTableNames[i], kObjectRowLength, 0, 0);
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
    if (ctx.globalRun || WriteResultDocument(ctx, info)) ctx.callStatus = kCallOk;
  } else {
    ctx.output.Append(RfcResultMessage(ctx.lastQueryResult, exceptionText));
  }

  EnterStep(ctx, "ItDelete");
  for (int i = 0; i < kObjectTableCount; ++i) {
    if (ItDelete(tables[i]) != 0) {
      ReportRfcFailure(ctx, std::string("ItDelete ") + kObjectTableNames[i]);
    }
  }
  return ctx.lastQueryResult;
}

}  // namespace kelvoran
