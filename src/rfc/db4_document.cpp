// The result document of the measurement, from the figures whichever library delivered them.
#include <string>

#include "output/channel_writer.h"
#include "output/document.h"
#include "rfc/db4_query.h"
#include "run_context.h"

namespace kelvoran {

namespace {

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

constexpr int CountIndex(std::string_view field) {
  for (int i = 0; i < kDb4CountFieldCount; ++i) {
    if (field == kDb4CountFields[i]) return i;
  }
  return -1;
}

constexpr bool ChannelFieldsAreKnown() {
  for (const ObjectCountChannel& c : kObjectCountChannels) {
    if (CountIndex(c.field) < 0) return false;
  }
  return true;
}
static_assert(ChannelFieldsAreKnown());

std::string_view TrimTrailingBlanks(std::string_view text) {
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

std::string FormatCount(std::int32_t value) { return std::to_string(value); }

}  // namespace

std::int32_t Db4Figures::Count(std::string_view field) const {
  const int at = CountIndex(field);
  return at < 0 ? 0 : counts[at];
}

bool DetailRequested(const RunContext& ctx) {
  return ctx.parameterString.find(kDetailKeyword) != std::string::npos;
}

bool WriteResultDocument(RunContext& ctx, const Db4Figures& figures) {
  const bool detail = DetailRequested(ctx);
  if (detail && !figures.aspUsed) {
    ctx.output.Append(std::string("Error 1034: Invalid Number in ") + kAspUsedField +
                      " received !");
    return false;
  }

  BeginDocument(ctx);
  BeginTextBlock(ctx);
  ctx.output.Append("(");
  AppendOutsideText(ctx, ctx.profile.destination);
  ctx.output.Append(") Kelvoran: Info=");
  AppendOutsideText(ctx, TrimTrailingBlanks(figures.databaseSystem));
  ctx.output.Append(",Date=");
  AppendOutsideText(ctx, figures.date);
  ctx.output.Append(",Time=");
  AppendOutsideText(ctx, figures.time);
  ctx.output.Append(",Sid=");
  AppendOutsideText(ctx, figures.systemId);
  EndTextBlock(ctx);
  WriteChannel(ctx, "No.of DB-Tables", FormatCount(figures.Count("TAB_CNT")), "");
  WriteChannel(ctx, "No.of Prim.Keys", FormatCount(figures.Count("CST_CNT")), "");
  WriteChannel(ctx, "No.of Indexes", FormatCount(figures.Count("IDX_CNT")), "");
  if (detail) {
    PrtgChannelTags percent;
    percent.unit = "Percent";
    percent.decimal = true;
    WriteChannel(ctx, kAspUsedChannel, *figures.aspUsed, "PerCent", percent);
    for (const ObjectCountChannel& channel : kObjectCountChannels) {
      PrtgChannelTags count;
      count.unit = "Count";
      count.errorAbove = "0";
      count.errorMessage = channel.alarm;
      WriteChannel(ctx, channel.name, FormatCount(figures.Count(channel.field)), "", count);
    }
  }
  EndDocument(ctx);
  return true;
}

}  // namespace kelvoran
