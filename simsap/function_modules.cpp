#include "function_modules.h"

#include <unordered_map>


namespace simsap {

namespace {

template <typename T, unsigned N>
constexpr unsigned CountOf(const T (&)[N]) {
  return N;
}

const FieldDef kSystemInfoFields[] = {
    {"RFCPROTO", kTypeChar, 3, 0},   {"RFCCHARTYP", kTypeChar, 4, 0},
    {"RFCINTTYP", kTypeChar, 3, 0},  {"RFCFLOTYP", kTypeChar, 3, 0},
    {"RFCDEST", kTypeChar, 32, 0},   {"RFCHOST", kTypeChar, 8, 0},
    {"RFCSYSID", kTypeChar, 8, 0},   {"RFCDATABS", kTypeChar, 8, 0},
    {"RFCDBHOST", kTypeChar, 32, 0}, {"RFCDBSYS", kTypeChar, 10, 0},
    {"RFCSAPRL", kTypeChar, 4, 0},   {"RFCMACH", kTypeChar, 5, 0},
    {"RFCOPSYS", kTypeChar, 10, 0},  {"RFCTZONE", kTypeChar, 6, 0},
    {"RFCDAYST", kTypeChar, 1, 0},   {"RFCIPADDR", kTypeChar, 15, 0},
    {"RFCKERNRL", kTypeChar, 4, 0},  {"RFCSI_RESV", kTypeChar, 44, 0}};

const FieldDef kDb4InfoFields[] = {
    {"DBSYS", kTypeChar, 10, 0},      {"FS_A_DATE", kTypeDate, 8, 0},
    {"FS_A_TIME", kTypeTime, 6, 0},   {"SYSID", kTypeChar, 8, 0},
    {"TAB_CNT", kTypeInteger, 4, 0},      {"CST_CNT", kTypeInteger, 4, 0},
    {"IDX_CNT", kTypeInteger, 4, 0},      {"TAB_SIZE", kTypePacked, 8, 0},
    {"CST_SIZE", kTypePacked, 8, 0},  {"IDX_SIZE", kTypePacked, 8, 0},
    {"TAB_MIS_DB", kTypeInteger, 4, 0},   {"CST_MIS_DB", kTypeInteger, 4, 0},
    {"IDX_MIS_DB", kTypeInteger, 4, 0},   {"VIE_MIS_DB", kTypeInteger, 4, 0},
    {"TAB_MIS_DD", kTypeInteger, 4, 0},   {"IDX_MIS_DD", kTypeInteger, 4, 0},
    {"CST_MIS_DD", kTypeInteger, 4, 0},   {"VIE_MIS_DD", kTypeInteger, 4, 0},
    {"SYS_ASP_P", kTypePacked, 8, 5}, {"SYS_ASP_S", kTypePacked, 6, 1},
    {"ASP_TOT_S", kTypePacked, 6, 1}};

const FieldDef kObjectRowFields[] = {{"NAME", kTypeChar, 40, 0}};

const FieldDef kCurrentResources = {"CURRENT_RESOURCES", kTypeInteger, 4, 0};
const FieldDef kDialogUserType = {"DIALOG_USER_TYPE", kTypeChar, 1, 0};
const FieldDef kMaximalResources = {"MAXIMAL_RESOURCES", kTypeInteger, 4, 0};
const FieldDef kRecommendedDelay = {"RECOMMENDED_DELAY", kTypeInteger, 4, 0};
const FieldDef kLoginComplete = {"RFC_LOGIN_COMPLETE", kTypeChar, 1, 0};
const FieldDef kApiResult = {"API_QWCRSSTS_RC", kTypeInteger, 4, 0};

}  // namespace

const StructureDef kSystemInfoStructure = {"RFCSI", kSystemInfoFields, CountOf(kSystemInfoFields)};
const StructureDef kDb4InfoStructure = {"DB02INFDB4", kDb4InfoFields, CountOf(kDb4InfoFields)};
const StructureDef kObjectRowStructure = {"MISSOBJ", kObjectRowFields, CountOf(kObjectRowFields)};

namespace {

const ParameterDef kSystemInfoExports[] = {{"CURRENT_RESOURCES", &kCurrentResources, nullptr},
                                           {"DIALOG_USER_TYPE", &kDialogUserType, nullptr},
                                           {"MAXIMAL_RESOURCES", &kMaximalResources, nullptr},
                                           {"RECOMMENDED_DELAY", &kRecommendedDelay, nullptr},
                                           {"RFCSI_EXPORT", nullptr, &kSystemInfoStructure},
                                           {"RFC_LOGIN_COMPLETE", &kLoginComplete, nullptr}};

const ParameterDef kDb4InfoExports[] = {{"API_QWCRSSTS_RC", &kApiResult, nullptr},
                                        {"DB02_DISPLAYED_INFO", nullptr, &kDb4InfoStructure}};

const char* const kDb4InfoTables[] = {"ADDTL_INDEX", "ADDTL_TABLES", "ADDTL_VIEWS",
                                      "MISS_INDEX",  "MISS_TABLES",  "MISS_VIEWS"};

}  // namespace

const ModuleDef kSystemInfoModule = {
    "RFC_SYSTEM_INFO", kSystemInfoExports, CountOf(kSystemInfoExports), nullptr, 0, nullptr};
const ModuleDef kDb4InfoModule = {"DB02_DB4_GET_INFO",      kDb4InfoExports,
                                  CountOf(kDb4InfoExports), kDb4InfoTables,
                                  CountOf(kDb4InfoTables),  &kObjectRowStructure};

namespace {

const ModuleDef* const kModules[] = {&kSystemInfoModule, &kDb4InfoModule};
const StructureDef* const kStructures[] = {&kSystemInfoStructure, &kDb4InfoStructure,
                                           &kObjectRowStructure};

}  // namespace

unsigned StructureLength(const StructureDef& structure) {
  return FieldOffset(structure, structure.count);
}

unsigned FieldOffset(const StructureDef& structure, unsigned index) {
  unsigned offset = 0;
  for (unsigned i = 0; i < index && i < structure.count; ++i) offset += structure.fields[i].length;
  return offset;
}

const ModuleDef* FindModule(std::string_view name) {
  for (const ModuleDef* module : kModules) {
    if (name == module->name) return module;
  }
  return nullptr;
}

const ParameterDef* FindExport(const ModuleDef& module, std::string_view name) {
  for (unsigned i = 0; i < module.exportCount; ++i) {
    if (name == module.exports[i].name) return &module.exports[i];
  }
  return nullptr;
}

bool HasTable(const ModuleDef& module, std::string_view name) {
  for (unsigned i = 0; i < module.tableCount; ++i) {
    if (name == module.tables[i]) return true;
  }
  return false;
}

const FieldDef* FindAnswerField(std::string_view name) {
  // Looked up for every answer line of a landscape: an index built once.
  static const std::unordered_map<std::string_view, const FieldDef*> kFieldByName = [] {
    std::unordered_map<std::string_view, const FieldDef*> byName;
    for (const ModuleDef* module : kModules) {
      for (unsigned i = 0; i < module->exportCount; ++i) {
        const ParameterDef& parameter = module->exports[i];
        if (parameter.scalar != nullptr) byName.emplace(parameter.scalar->name, parameter.scalar);
        if (parameter.structure == nullptr) continue;
        for (unsigned f = 0; f < parameter.structure->count; ++f) {
          byName.emplace(parameter.structure->fields[f].name, &parameter.structure->fields[f]);
        }
      }
    }
    return byName;
  }();
  const auto found = kFieldByName.find(name);
  return found == kFieldByName.end() ? nullptr : found->second;
}

bool IsAnswerTable(std::string_view name) {
  for (const ModuleDef* module : kModules) {
    if (HasTable(*module, name)) return true;
  }
  return false;
}

const StructureDef* FindStructureDef(std::string_view name) {
  for (const StructureDef* structure : kStructures) {
    if (name == structure->name) return structure;
  }
  return nullptr;
}

}  // namespace simsap
