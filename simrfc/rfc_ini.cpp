#include "rfc_ini.h"

#include <map>
#include <set>

#include "simulated_systems.h"

namespace simrfc {

namespace {

// Keys of real configuration files that mean nothing to the simulated systems.
const char* const kIgnoredKeys[] = {"RFC_TRACE", "ABAP_DEBUG", "USE_SAPGUI"};

class RfcIniParser {
 public:
  explicit RfcIniParser(std::string_view fileName) : fileName_(fileName) {}

  bool ReadLine(int number, std::string_view raw) {
    line_ = number;
    const std::string text = Trim(raw);
    if (text.empty() || text[0] == '#' || text[0] == '*') return true;
    const std::size_t equals = text.find('=');
    if (equals == std::string::npos) return Fail("line without '=' (expected KEY=value)");
    const std::string key = ToUpper(Trim(std::string_view(text).substr(0, equals)));
    const std::string value = Trim(std::string_view(text).substr(equals + 1));
    if (MayHoldPassword(value)) secretLines_.insert(number);
    if (key == "DEST") return BeginDestination(value);
    for (const char* ignored : kIgnoredKeys) {
      if (key == ignored) return true;
    }
    if (current_ == nullptr) return Fail("'" + key + "' before the first DEST= line");
    const auto [at, inserted] = keys_.emplace(key, line_);
    if (!inserted) {
      return Fail(key + " is given twice for the destination of line " +
                  std::to_string(current_->line) + " (first in line " + std::to_string(at->second) +
                  ")");
    }
    return SetKey(key, value);
  }

  bool Finish() { return EndDestination(); }

  const std::string& Error() const { return error_; }
  std::vector<RfcDestination>& Result() { return destinations_; }

 private:
  bool Fail(const std::string& what) { return FailAt(line_, what); }

  bool FailAt(int line, const std::string& what) {
    error_ = std::string(fileName_) + " line " + std::to_string(line) + ": " +
             (secretLines_.count(line) != 0 ? std::string(kLineNotQuoted) : what);
    return false;
  }

  bool BeginDestination(const std::string& name) {
    if (!EndDestination()) return false;
    if (name.empty()) return Fail("DEST= without a destination name");
    if (const RfcDestination* other = FindDestination(destinations_, name)) {
      return Fail("destination " + name + " is given twice (first in line " +
                  std::to_string(other->line) + ")");
    }
    destinations_.emplace_back();
    current_ = &destinations_.back();
    current_->name = name;
    current_->line = line_;
    keys_.clear();
    return true;
  }

  bool SetKey(const std::string& key, const std::string& value) {
    if (key == "TYPE") {
      if (value == "A" || value == "a") {
        type_ = 'A';
      } else if (value == "2") {
        type_ = '2';
      } else {
        return Fail("TYPE=" + value + " is not supported (A: application server, 2: gateway)");
      }
    } else if (key == "ASHOST" || key == "GWHOST" || key == "GWSERV") {
      if (value.empty() || SplitWords(value).size() != 1) {
        return Fail(key + "=" + value + " is not a single name");
      }
      (key == "ASHOST"   ? current_->asHost
       : key == "GWHOST" ? current_->gwHost
                         : current_->gwService) = value;
    } else if (key == "SYSNR") {
      if (value.size() != 2 || !IsAllDigits(value)) {
        return Fail("SYSNR=" + value + " is not a system number of two digits (00 to 99)");
      }
      current_->systemNumber = (value[0] - '0') * 10 + (value[1] - '0');
    } else {
      return Fail("unknown key '" + key + "'");
    }
    return true;
  }

  bool EndDestination() {
    if (current_ == nullptr) return true;
    RfcDestination& d = *current_;
    const char type = type_;
    current_ = nullptr;
    type_ = 0;
    const std::string entry = "destination " + d.name + ": ";
    d.viaGateway = type == '2' || (type == 0 && d.asHost.empty());
    if (!d.viaGateway && (d.asHost.empty() || d.systemNumber < 0)) {
      return FailAt(d.line, entry + "an application server needs ASHOST and SYSNR");
    }
    if (d.viaGateway && (d.gwHost.empty() || d.gwService.empty())) {
      return FailAt(d.line, entry + "a connection through a gateway needs GWHOST and GWSERV");
    }
    return true;
  }

  std::string_view fileName_;
  int line_ = 0;
  std::vector<RfcDestination> destinations_;
  RfcDestination* current_ = nullptr;
  char type_ = 0;
  std::map<std::string, int> keys_;
  std::string error_;
  // Lines that may carry a password: a message about them does not quote them.
  std::set<int> secretLines_;
};

}  // namespace

RfcIniResult ParseRfcIni(std::string_view text, std::string_view fileName) {
  RfcIniParser parser(fileName);
  int number = 0;
  bool ok = true;
  for (std::string_view line : SplitLines(text)) {
    ok = parser.ReadLine(++number, line);
    if (!ok) break;
  }
  if (ok) ok = parser.Finish();
  RfcIniResult result;
  if (ok) {
    result.destinations = std::move(parser.Result());
  } else {
    result.error = parser.Error();
  }
  return result;
}

const RfcDestination* FindDestination(const std::vector<RfcDestination>& destinations,
                                      std::string_view name) {
  for (const RfcDestination& destination : destinations) {
    if (destination.name == name) return &destination;
  }
  return nullptr;
}

}  // namespace simrfc
