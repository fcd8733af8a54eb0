#include "rfc/system_info.h"

#include <cstring>

#include "output/log_writer.h"
#include "rfc/classic/failure_report.h"
#include "rfc/classic/library_state.h"
#include "rfc/classic/rfc_result.h"
#include "rfc/classic/system_info_call.h"
#include "run_context.h"
#include "step_report.h"

namespace kelvoran {

namespace {

struct FieldEntry {
  const char* name;
  unsigned length;
};

// The RFCSI structure: 18 character fields, 200 characters in all.
constexpr FieldEntry kSystemInfoFields[] = {
    {"RFCPROTO", 3},   {"RFCCHARTYP", 4}, {"RFCINTTYP", 3},  {"RFCFLOTYP", 3},
    {"RFCDEST", 32},   {"RFCHOST", 8},    {"RFCSYSID", 8},   {"RFCDATABS", 8},
    {"RFCDBHOST", 32}, {"RFCDBSYS", 10},  {"RFCSAPRL", 4},   {"RFCMACH", 5},
    {"RFCOPSYS", 10},  {"RFCTZONE", 6},   {"RFCDAYST", 1},   {"RFCIPADDR", 15},
    {"RFCKERNRL", 4},  {"RFCSI_RESV", 44}};
constexpr unsigned kSystemInfoFieldCount = sizeof kSystemInfoFields / sizeof kSystemInfoFields[0];

void InstallSystemInfoType(RunContext& ctx) {
  if (ClassicState(ctx).systemInfoType != 0) return;
  RfcTypeElement elements[kSystemInfoFieldCount];
  for (unsigned i = 0; i < kSystemInfoFieldCount; ++i) {
    elements[i] = RfcTypeElement{const_cast<char*>(kSystemInfoFields[i].name), RFC_TYPE_CHAR,
                                 kSystemInfoFields[i].length, 0, 0};
  }
  EnterStep(ctx, "RfcInstallStructure");
  if (Rfc(ctx).RfcInstallStructure("RFCSI", elements, kSystemInfoFieldCount,
                                    &ClassicState(ctx).systemInfoType) != RFC_OK) {
    ReportRfcFailure(ctx, "RfcInstallStructure");
  }
}

RfcParameter Parameter(const char* name, RfcTypeHandle type, unsigned length, void* address) {
  return RfcParameter{const_cast<char*>(name), static_cast<unsigned>(std::strlen(name)), type,
                      length, address};
}

// A field of a fixed-layout record, up to its length or an earlier NUL.
std::string TakeField(const char* record, unsigned offset, unsigned length) {
  const char* field = record + offset;
  const void* end = std::memchr(field, '\0', length);
  return std::string(field, end ? static_cast<const char*>(end) - field : length);
}

}  // namespace

int CallSystemInfo(RunContext& ctx, RfcHandle handle, std::int32_t* currentResources,
                   char* dialogUserType, std::int32_t* maximalResources,
                   std::int32_t* recommendedDelay, char* systemInfo, char* loginComplete,
                   char* exceptionText) {
  InstallSystemInfoType(ctx);

  RfcParameter noParameters[] = {RfcParameter{nullptr, 0, 0, 0, nullptr}};
  RfcTable noTables[] = {RfcTable{nullptr, 0, 0, 0, nullptr, 0, 0}};
  EnterStep(ctx, "RfcCall");
  int result = Rfc(ctx).RfcCall(handle, "RFC_SYSTEM_INFO", noParameters, noTables);
  WriteLogLine(ctx, static_cast<std::int32_t>(handle), "RfcCall called", "");
  if (result != RFC_OK) return result;

  RfcParameter received[] = {
      Parameter("CURRENT_RESOURCES", RFC_TYPE_INT, 4, currentResources),
      Parameter("DIALOG_USER_TYPE", RFC_TYPE_CHAR, 1, dialogUserType),
      Parameter("MAXIMAL_RESOURCES", RFC_TYPE_INT, 4, maximalResources),
      Parameter("RECOMMENDED_DELAY", RFC_TYPE_INT, 4, recommendedDelay),
      Parameter("RFCSI_EXPORT", ClassicState(ctx).systemInfoType, kSystemInfoLength, systemInfo),
      Parameter("RFC_LOGIN_COMPLETE", RFC_TYPE_CHAR, 1, loginComplete),
      RfcParameter{nullptr, 0, 0, 0, nullptr}};
  char* exception = nullptr;
  EnterStep(ctx, "RfcReceive");
  result = Rfc(ctx).RfcReceive(handle, received, noTables, &exception);
  WriteLogLine(ctx, static_cast<std::int32_t>(handle), "RfcReceive called", "");
  CopyExceptionName(result, exception, exceptionText);
  return result;
}

int CheckSystemInfo(RunContext& ctx, ConnectionHandle handle) {
  std::int32_t currentResources = 0, maximalResources = 0, recommendedDelay = 0;
  char dialogUserType = ' ', loginComplete = ' ';
  char systemInfo[kSystemInfoLength];
  std::memset(systemInfo, ' ', sizeof systemInfo);
  char exceptionText[kExceptionTextSize] = "";

  const int result =
      CallSystemInfo(ctx, handle, &currentResources, &dialogUserType, &maximalResources,
                     &recommendedDelay, systemInfo, &loginComplete, exceptionText);
  if (result == RFC_OK) {
    ctx.callStatus = kCallOk;
    ctx.displayHost = TakeField(systemInfo, kRfcHostOffset, kRfcHostLength);
    ctx.databaseSystem = TakeField(systemInfo, kRfcDbSysOffset, kRfcDbSysLength);
  } else {
    ctx.output.Append(RfcResultMessage(result, exceptionText));
  }
  return result;
}

}  // namespace kelvoran
