// The exchanges of the probe with the library, built the way the probe builds them: the three
// structures installed from their field tables, the six object tables, the parameter lists of
// RFC_SYSTEM_INFO and DB02_DB4_GET_INFO. Tests change a list to show what the library refuses.
#ifndef KELVORAN_TESTS_SIMRFC_PROBE_EXCHANGE_H
#define KELVORAN_TESTS_SIMRFC_PROBE_EXCHANGE_H

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "sap_declarations.h"
#include "simrfc/sim_rfc_fixture.h"

namespace kelvoran {

struct ElementEntry {
  const char* name;
  unsigned type, length, decimals;
};

inline const ElementEntry kRfcsiElements[] = {
    {"RFCPROTO", 0, 3, 0},   {"RFCCHARTYP", 0, 4, 0}, {"RFCINTTYP", 0, 3, 0},
    {"RFCFLOTYP", 0, 3, 0},  {"RFCDEST", 0, 32, 0},   {"RFCHOST", 0, 8, 0},
    {"RFCSYSID", 0, 8, 0},   {"RFCDATABS", 0, 8, 0},  {"RFCDBHOST", 0, 32, 0},
    {"RFCDBSYS", 0, 10, 0},  {"RFCSAPRL", 0, 4, 0},   {"RFCMACH", 0, 5, 0},
    {"RFCOPSYS", 0, 10, 0},  {"RFCTZONE", 0, 6, 0},   {"RFCDAYST", 0, 1, 0},
    {"RFCIPADDR", 0, 15, 0}, {"RFCKERNRL", 0, 4, 0},  {"RFCSI_RESV", 0, 44, 0}};

inline const ElementEntry kDb4InfoElements[] = {
    {"DBSYS", 0, 10, 0},     {"FS_A_DATE", 1, 8, 0},  {"FS_A_TIME", 3, 6, 0},
    {"SYSID", 0, 8, 0},      {"TAB_CNT", 8, 4, 0},    {"CST_CNT", 8, 4, 0},
    {"IDX_CNT", 8, 4, 0},    {"TAB_SIZE", 2, 8, 0},   {"CST_SIZE", 2, 8, 0},
    {"IDX_SIZE", 2, 8, 0},   {"TAB_MIS_DB", 8, 4, 0}, {"CST_MIS_DB", 8, 4, 0},
    {"IDX_MIS_DB", 8, 4, 0}, {"VIE_MIS_DB", 8, 4, 0}, {"TAB_MIS_DD", 8, 4, 0},
    {"IDX_MIS_DD", 8, 4, 0}, {"CST_MIS_DD", 8, 4, 0}, {"VIE_MIS_DD", 8, 4, 0},
    {"SYS_ASP_P", 2, 8, 5},  {"SYS_ASP_S", 2, 6, 1},  {"ASP_TOT_S", 2, 6, 1}};

inline const char* const kObjectTables[] = {"ADDTL_INDEX", "ADDTL_TABLES", "ADDTL_VIEWS",
                                            "MISS_INDEX",  "MISS_TABLES",  "MISS_VIEWS"};

/// Installs a structure from `count` entries; 0 when refused.
inline RFC_TYPEHANDLE InstallEntries(const char* name, const ElementEntry* entries,
                                     unsigned count) {
  std::vector<RFC_TYPE_ELEMENT> elements;
  for (unsigned i = 0; i < count; ++i) {
    elements.push_back(RFC_TYPE_ELEMENT{const_cast<char*>(entries[i].name), entries[i].type,
                                      entries[i].length, entries[i].decimals, 0});
  }
  RFC_TYPEHANDLE handle = 0;
  return RfcInstallStructure(Text(name), elements.data(), count, &handle) == RFC_OK ? handle : 0;
}

inline RFC_PARAMETER Parameter(const char* name, RFC_TYPEHANDLE type, unsigned length,
                              void* address) {
  return RFC_PARAMETER{const_cast<char*>(name), static_cast<unsigned>(std::strlen(name)), type,
                      length, address};
}

/// One connection's exchanges; it must stay where it was built (the lists point into it).
class ProbeExchange {
 public:
  explicit ProbeExchange(RFC_HANDLE handle) : handle_(handle) {
    rfcsi = InstallEntries("RFCSI", kRfcsiElements, 18);
    db4Info = InstallEntries("DB02INFDB4", kDb4InfoElements, 21);
    ElementEntry row[] = {{"NAME", 0, 40, 0}};
    missObj = InstallEntries("MISSOBJ", row, 1);
    for (int i = 0; i < 6; ++i) tables[i] = ItCreate(Text(kObjectTables[i]), 40, 0, 0);
  }
  ~ProbeExchange() {
    for (ITAB_H table : tables) {
      if (table != nullptr) ItDelete(table);
    }
  }
  ProbeExchange(const ProbeExchange&) = delete;
  ProbeExchange& operator=(const ProbeExchange&) = delete;

  std::vector<RFC_PARAMETER> SystemInfoList() {
    return {Parameter("CURRENT_RESOURCES", TYPINT, 4, &currentResources),
            Parameter("DIALOG_USER_TYPE", TYPC, 1, &dialogUserType),
            Parameter("MAXIMAL_RESOURCES", TYPINT, 4, &maximalResources),
            Parameter("RECOMMENDED_DELAY", TYPINT, 4, &recommendedDelay),
            Parameter("RFCSI_EXPORT", rfcsi, 200, systemInfo),
            Parameter("RFC_LOGIN_COMPLETE", TYPC, 1, &loginComplete),
            RFC_PARAMETER{nullptr, 0, 0, 0, nullptr}};
  }

  std::vector<RFC_PARAMETER> Db4InfoList() {
    return {Parameter("API_QWCRSSTS_RC", TYPINT, 4, &apiResult),
            Parameter("DB02_DISPLAYED_INFO", db4Info, 120, db4Record),
            RFC_PARAMETER{nullptr, 0, 0, 0, nullptr}};
  }

  std::vector<RFC_TABLE> Db4Tables() {
    std::vector<RFC_TABLE> list;
    for (int i = 0; i < 6; ++i) {
      list.push_back(RFC_TABLE{const_cast<char*>(kObjectTables[i]),
                              static_cast<unsigned>(std::strlen(kObjectTables[i])), missObj, 40,
                              tables[i], RFC_ITMODE_BYREFERENCE, 0});
    }
    list.push_back(RFC_TABLE{nullptr, 0, 0, 0, nullptr, 0, 0});
    return list;
  }

  static std::vector<RFC_TABLE> NoTables() { return {RFC_TABLE{nullptr, 0, 0, 0, nullptr, 0, 0}}; }

  /// RfcCall and RfcReceive of `module`; a failed RfcCall gives 100 + its code.
  int Call(const char* module, std::vector<RFC_PARAMETER> received, std::vector<RFC_TABLE> sent,
           std::vector<RFC_TABLE> receivedTables) {
    RFC_PARAMETER none[] = {{nullptr, 0, 0, 0, nullptr}};
    const int called = RfcCall(handle_, Text(module), none, sent.data());
    if (called != RFC_OK) return 100 + called;
    exception = nullptr;
    return RfcReceive(handle_, received.data(), receivedTables.data(), &exception);
  }
  int CallSystemInfo() { return Call("RFC_SYSTEM_INFO", SystemInfoList(), NoTables(), NoTables()); }
  int CallDb4Info() { return Call("DB02_DB4_GET_INFO", Db4InfoList(), Db4Tables(), Db4Tables()); }

  std::string Exception() const { return exception != nullptr ? exception : "<null>"; }

  RFC_TYPEHANDLE rfcsi = 0, db4Info = 0, missObj = 0;
  ITAB_H tables[6] = {};
  std::int32_t currentResources = -99, maximalResources = -99, recommendedDelay = -99;
  char dialogUserType = '?', loginComplete = '?';
  char systemInfo[200] = {};
  std::int32_t apiResult = -99;
  char db4Record[120] = {};
  char* exception = nullptr;

 private:
  RFC_HANDLE handle_;
};

}  // namespace kelvoran

#endif
