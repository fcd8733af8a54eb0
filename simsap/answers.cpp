#include "answers.h"

#include <cstring>
#include <functional>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "text.h"

namespace simsap {

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

// Where the default of a field comes from.
enum class DefaultSource { Destination, Host, SystemId, Date, Time, Constant };

struct FieldDefault {
  DefaultSource source;
  std::string_view constant;  // for DefaultSource::Constant
};

FieldDefault WorkOutDefault(const FieldDef& field) {
  const std::string_view name = field.name;
  if (name == "RFCDEST") return {DefaultSource::Destination, {}};
  if (name == "RFCHOST" || name == "RFCDBHOST") return {DefaultSource::Host, {}};
  if (name == "RFCSYSID" || name == "RFCDATABS" || name == "SYSID") {
    return {DefaultSource::SystemId, {}};
  }
  if (name == "FS_A_DATE") return {DefaultSource::Date, {}};
  if (name == "FS_A_TIME") return {DefaultSource::Time, {}};
  for (const Constant& constant : kConstants) {
    if (name == constant.field) return {DefaultSource::Constant, constant.value};
  }
  const bool number = field.type == kTypeInteger || field.type == kTypePacked;
  return {DefaultSource::Constant, number ? "0" : ""};
}

// The defaults of the fields the modules answer in depend only on the field, so they are
// worked out once; a field from elsewhere has its default worked out when it is asked for.
FieldDefault DefaultOf(const FieldDef& field) {
  static const std::unordered_map<const FieldDef*, FieldDefault> kDefaults = [] {
    std::unordered_map<const FieldDef*, FieldDefault> defaults;
    for (const ModuleDef* module : {&kSystemInfoModule, &kDb4InfoModule}) {
      for (unsigned i = 0; i < module->exportCount; ++i) {
        const ParameterDef& parameter = module->exports[i];
        if (parameter.scalar != nullptr) {
          defaults.emplace(parameter.scalar, WorkOutDefault(*parameter.scalar));
        }
        if (parameter.structure == nullptr) continue;
        for (unsigned f = 0; f < parameter.structure->count; ++f) {
          const FieldDef& member = parameter.structure->fields[f];
          defaults.emplace(&member, WorkOutDefault(member));
        }
      }
    }
    return defaults;
  }();
  const auto known = kDefaults.find(&field);
  return known != kDefaults.end() ? known->second : WorkOutDefault(field);
}

std::string Format(const std::tm& time, const char* format) {
  char text[16];
  return std::string(text, std::strftime(text, sizeof text, format, &time));
}

// The texts a system's defaults are made of, each put together when a field first needs it.
class SystemTexts {
 public:
  explicit SystemTexts(const SystemEntry& system) : system_(system) {}

  // The host the system is reached at.
  const std::string& Host() const {
    return system_.asHost.empty() ? system_.gwHost : system_.asHost;
  }

  // The system's name in upper case, cut to the 8 characters of a system ID.
  const std::string& SystemId() {
    if (systemId_.empty()) systemId_ = ToUpper(std::string_view(system_.name).substr(0, 8));
    return systemId_;
  }

  // "<host>_<system ID>_<system number>", without the number when the system has none.
  const std::string& Destination() {
    if (destination_.empty()) {
      destination_ = Host();
      destination_ += '_';
      destination_ += SystemId();
      if (system_.systemNumber >= 0) {
        destination_ += '_';
        destination_ += static_cast<char>('0' + system_.systemNumber / 10);
        destination_ += static_cast<char>('0' + system_.systemNumber % 10);
      }
    }
    return destination_;
  }

 private:
  const SystemEntry& system_;
  std::string systemId_, destination_;
};

// The text `system` answers for `field` when its landscape entry gives no value. `clock` keeps
// a date or time read from `now`, which is read only for these two: reading the local time
// costs a look at the time zone file.
std::string_view DefaultAnswer(const FieldDef& field, SystemTexts& texts, const LocalTime& now,
                               std::string& clock) {
  const FieldDefault fieldDefault = DefaultOf(field);
  switch (fieldDefault.source) {
    case DefaultSource::Destination:
      return std::string_view(texts.Destination()).substr(0, field.length);
    case DefaultSource::Host:
      return std::string_view(texts.Host()).substr(0, field.length);
    case DefaultSource::SystemId:
      return texts.SystemId();
    case DefaultSource::Date:
      clock = Format(now(), "%Y%m%d");
      return clock;
    case DefaultSource::Time:
      clock = Format(now(), "%H%M%S");
      return clock;
    case DefaultSource::Constant:
      break;
  }
  return fieldDefault.constant;
}

const std::string* GivenAnswer(const SystemEntry& system, const FieldDef& field) {
  const auto given = system.answers.find(std::string_view(field.name));
  return given == system.answers.end() ? nullptr : &given->second;
}

}  // namespace

std::string AnswerValue(const SystemEntry& system, const FieldDef& field, const LocalTime& now) {
  if (const std::string* given = GivenAnswer(system, field)) return *given;
  SystemTexts texts(system);
  std::string clock;
  return std::string(DefaultAnswer(field, texts, now, clock));
}

void WriteExport(const SystemEntry& system, const ParameterDef& parameter, unsigned char* out,
                 const LocalTime& now) {
  SystemTexts texts(system);
  std::string clock;
  if (parameter.scalar != nullptr) {
    const FieldDef& field = *parameter.scalar;
    const std::string* given = GivenAnswer(system, field);
    EncodeField(field, given != nullptr ? *given : DefaultAnswer(field, texts, now, clock), out);
    return;
  }
  const StructureDef& structure = *parameter.structure;
  // A system gives few values of its own: rather than look each field up among them, each of
  // them is placed at its field.
  std::vector<const std::string*> given(structure.count, nullptr);
  const std::less<const FieldDef*> before;
  const FieldDef* const end = structure.fields + structure.count;
  for (const auto& [name, value] : system.answers) {
    const FieldDef* field = FindAnswerField(name);
    if (field != nullptr && !before(field, structure.fields) && before(field, end)) {
      given[static_cast<std::size_t>(field - structure.fields)] = &value;
    }
  }
  // The fields lie one after the other: each begins where the one before it ends.
  unsigned offset = 0;
  for (unsigned i = 0; i < structure.count; ++i) {
    const FieldDef& field = structure.fields[i];
    EncodeField(field, given[i] != nullptr ? *given[i] : DefaultAnswer(field, texts, now, clock),
                out + offset);
    offset += field.length;
  }
}

std::vector<std::string> AnswerRows(const SystemEntry& system, const std::string& table,
                                    unsigned rowLength) {
  std::vector<std::string> rows;
  const auto given = system.tableRows.find(table);
  if (given == system.tableRows.end()) return rows;
  rows.reserve(given->second.size());
  for (const std::string& row : given->second) {
    std::string padded = row.substr(0, rowLength);
    padded.resize(rowLength, ' ');
    rows.push_back(std::move(padded));
  }
  return rows;
}

}  // namespace simsap
