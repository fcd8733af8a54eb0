#include "answers.h"

#include <cstring>
#include <string_view>
#include <unordered_map>

#include "rfc/rfc_library.h"
#include "text.h"

namespace simrfc {

namespace {

struct Constant {
  const char* field;
  const char* value;
};

const Constant kConstants[] = {{"RFCPROTO", "011"},         {"RFCCHARTYP", "1100"},
                               {"RFCINTTYP", "LIT"},        {"RFCFLOTYP", "IE3"},
                               {"RFCDBSYS", "DB4"},         {"RFCSAPRL", "46C"},
                               {"RFCMACH", "324"},          {"RFCOPSYS", "OS400"},
                               {"RFCTZONE", "3600"},        {"RFCKERNRL", "46D"},
                               {"CURRENT_RESOURCES", "1"},  {"MAXIMAL_RESOURCES", "1"},
                               {"RFC_LOGIN_COMPLETE", "X"}, {"DBSYS", "DB4"}};

std::string Cut(const std::string& text, std::size_t length) { return text.substr(0, length); }

std::string Format(const std::tm& time, const char* format) {
  char text[16];
  return std::string(text, std::strftime(text, sizeof text, format, &time));
}

// The host a system is reached at, and its system ID; only the fields that show them need them.
const std::string& Host(const SystemEntry& system) {
  return system.asHost.empty() ? system.gwHost : system.asHost;
}
std::string SystemId(const SystemEntry& system) { return Cut(ToUpper(system.name), 8); }

std::string DefaultValue(const SystemEntry& system, const FieldDef& field, const LocalTime& now) {
  const std::string_view name = field.name;
  if (name == "RFCDEST") {
    std::string number;
    if (system.systemNumber >= 0) {
      number =
          "_" + std::to_string(system.systemNumber / 10) + std::to_string(system.systemNumber % 10);
    }
    return Cut(Host(system) + "_" + SystemId(system) + number, field.length);
  }
  if (name == "RFCHOST" || name == "RFCDBHOST") return Cut(Host(system), field.length);
  if (name == "RFCSYSID" || name == "RFCDATABS" || name == "SYSID") return SystemId(system);
  // The clock is read only for these two: reading the local time costs a look at the time
  // zone file.
  if (name == "FS_A_DATE") return Format(now(), "%Y%m%d");
  if (name == "FS_A_TIME") return Format(now(), "%H%M%S");
  static const std::unordered_map<std::string_view, std::string_view> kConstantByField = [] {
    std::unordered_map<std::string_view, std::string_view> byField;
    for (const Constant& constant : kConstants) byField.emplace(constant.field, constant.value);
    return byField;
  }();
  const auto constant = kConstantByField.find(name);
  if (constant != kConstantByField.end()) return std::string(constant->second);
  return field.type == RFC_TYPE_INT || field.type == RFC_TYPE_PACKED ? "0" : "";
}

}  // namespace

std::string AnswerValue(const SystemEntry& system, const FieldDef& field, const LocalTime& now) {
  const auto given = system.answers.find(std::string_view(field.name));
  if (given != system.answers.end()) return given->second;
  return DefaultValue(system, field, now);
}

void WriteExport(const SystemEntry& system, const ParameterDef& parameter, unsigned char* out,
                 const LocalTime& now) {
  if (parameter.scalar != nullptr) {
    EncodeField(*parameter.scalar, AnswerValue(system, *parameter.scalar, now), out);
    return;
  }
  const StructureDef& structure = *parameter.structure;
  // The fields lie one after the other: each begins where the one before it ends.
  unsigned offset = 0;
  for (unsigned i = 0; i < structure.count; ++i) {
    const FieldDef& field = structure.fields[i];
    EncodeField(field, AnswerValue(system, field, now), out + offset);
    offset += field.length;
  }
}

std::vector<std::string> AnswerRows(const SystemEntry& system, const std::string& table,
                                    unsigned rowLength) {
  std::vector<std::string> rows;
  const auto given = system.tableRows.find(table);
  if (given == system.tableRows.end()) return rows;
  for (const std::string& row : given->second) {
    std::string padded = Cut(row, rowLength);
    padded.resize(rowLength, ' ');
    rows.push_back(padded);
  }
  return rows;
}

}  // namespace simrfc
