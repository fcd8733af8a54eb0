#include "landscape.h"

#include <climits>

#include "field_codec.h"
#include "function_modules.h"
#include "stalls.h"
#include "text.h"

namespace simsap {

namespace {

using Problem = std::optional<std::string>;

constexpr std::size_t kMaxHostLength = 100;
constexpr std::size_t kMaxServiceLength = 32;
constexpr std::size_t kMaxSystemNameLength = 32;
constexpr std::size_t kMaxUserLength = 12;
constexpr std::size_t kMaxPasswordLength = 40;
constexpr std::size_t kMaxExceptionLength = 30;
constexpr std::size_t kRowLength = 40;

std::string Quoted(std::string_view text) { return "'" + std::string(text) + "'"; }

// `text` without blanks and tabs at either end, as Trim gives it, without a copy.
std::string_view TrimmedView(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

Problem CheckHost(const std::string& key, const std::string& value) {
  if (value.empty()) return key + " is empty";
  if (value.size() > kMaxHostLength) {
    return key + " is " + std::to_string(value.size()) + " characters long, at most " +
           std::to_string(kMaxHostLength) + " fit";
  }
  if (SplitWords(value).size() != 1) return key + " " + Quoted(value) + " holds a blank";
  return std::nullopt;
}

Problem SetAsHost(SystemEntry& system, const std::string& value) {
  if (Problem problem = CheckHost("ASHOST", value)) return problem;
  system.asHost = value;
  return std::nullopt;
}

Problem SetGwHost(SystemEntry& system, const std::string& value) {
  if (Problem problem = CheckHost("GWHOST", value)) return problem;
  system.gwHost = value;
  return std::nullopt;
}

Problem SetGwService(SystemEntry& system, const std::string& value) {
  if (value.empty() || value.size() > kMaxServiceLength || SplitWords(value).size() != 1) {
    return "GWSERV " + Quoted(value) + " is not a service name (one word of at most " +
           std::to_string(kMaxServiceLength) + " characters, e.g. sapgw00)";
  }
  system.gwService = value;
  return std::nullopt;
}

Problem SetSystemNumber(SystemEntry& system, const std::string& value) {
  if (value.size() != 2 || !IsAllDigits(value)) {
    return "SYSNR " + Quoted(value) + " is not a system number of two digits (00 to 99)";
  }
  system.systemNumber = (value[0] - '0') * 10 + (value[1] - '0');
  return std::nullopt;
}

// "client user password": the password is the rest of the value and may hold blanks. The
// password never appears in a message.
Problem AddLogon(SystemEntry& system, const std::string& value) {
  const std::vector<std::string> words = SplitWords(value);
  if (words.size() < 3) return std::string("LOGON needs a client, a user and a password");
  const std::string& client = words[0];
  const std::string& user = words[1];
  if (client.size() != 3 || !IsAllDigits(client)) {
    return "LOGON client " + Quoted(client) + " is not a client of three digits";
  }
  if (user.size() > kMaxUserLength) {
    return "LOGON user " + Quoted(user) + " is " + std::to_string(user.size()) +
           " characters long, at most " + std::to_string(kMaxUserLength) + " fit";
  }
  const std::size_t userAt = value.find(user, value.find(client) + client.size());
  const std::string password = Trim(std::string_view(value).substr(userAt + user.size()));
  if (password.size() > kMaxPasswordLength) {
    return "LOGON password of user " + user + " is " + std::to_string(password.size()) +
           " characters long, at most " + std::to_string(kMaxPasswordLength) + " fit";
  }
  for (const Logon& logon : system.logons) {
    if (logon.client == client && EqualsNoCase(logon.user, user)) {
      return "LOGON for client " + client + " and user " + ToUpper(user) + " is given twice";
    }
  }
  system.logons.push_back(Logon{client, ToUpper(user), password});
  return std::nullopt;
}

Problem ReadYesNo(const std::string& key, const std::string& value, bool& flag) {
  if (EqualsNoCase(value, "YES")) {
    flag = true;
  } else if (EqualsNoCase(value, "NO")) {
    flag = false;
  } else {
    return key + " " + Quoted(value) + " is neither YES nor NO";
  }
  return std::nullopt;
}

Problem SetRefuseConnection(SystemEntry& system, const std::string& value) {
  return ReadYesNo("FAIL_CONNECT", value, system.refuseConnection);
}

Problem SetRefuseLogon(SystemEntry& system, const std::string& value) {
  return ReadYesNo("FAIL_LOGON", value, system.refuseLogon);
}

Problem SetUntracedFaults(SystemEntry& system, const std::string& value) {
  return ReadYesNo("FAIL_TRACE", value, system.untracedFaults);
}

// A list of names, each of which `canonical` must know; it gives the name's spelling.
template <typename Canonical>
Problem AddNames(const std::string& key, const std::string& value, const char* what,
                 Canonical canonical, std::set<std::string>& names) {
  const std::vector<std::string> words = SplitWords(value);
  if (words.empty()) return key + " names no " + what;
  for (const std::string& word : words) {
    const std::optional<std::string> name = canonical(word);
    if (!name) return key + ": " + Quoted(word) + " is not a " + what + " the library knows";
    names.insert(*name);
  }
  return std::nullopt;
}

std::optional<std::string> KnownModule(const std::string& word) {
  if (FindModule(word) == nullptr) return std::nullopt;
  return word;
}

std::optional<std::string> KnownOperation(const std::string& word) {
  for (const char* operation : kLibraryOperations) {
    if (EqualsNoCase(word, operation)) return std::string(operation);
  }
  return std::nullopt;
}

std::optional<std::string> KnownStructure(const std::string& word) {
  if (FindStructureDef(word) == nullptr) return std::nullopt;
  return word;
}

std::optional<std::string> KnownTable(const std::string& word) {
  if (!IsAnswerTable(word)) return std::nullopt;
  return word;
}

Problem AddFailingCalls(SystemEntry& system, const std::string& value) {
  return AddNames("FAIL_CALL", value, "function module", KnownModule, system.failingCalls);
}

Problem AddHandlerOperations(SystemEntry& system, const std::string& value) {
  return AddNames("FAIL_HANDLER", value, "library operation", KnownOperation,
                  system.handlerOperations);
}

Problem AddFailingInstalls(SystemEntry& system, const std::string& value) {
  return AddNames("FAIL_INSTALL", value, "structure", KnownStructure, system.failingInstalls);
}

Problem AddFailingCreates(SystemEntry& system, const std::string& value) {
  return AddNames("FAIL_ITCREATE", value, "table", KnownTable, system.failingCreates);
}

Problem AddFailingDeletes(SystemEntry& system, const std::string& value) {
  return AddNames("FAIL_ITDELETE", value, "table", KnownTable, system.failingDeletes);
}

bool IsExceptionName(const std::string& name) {
  if (name.empty() || name.size() > kMaxExceptionLength) return false;
  for (char c : name) {
    if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_')) return false;
  }
  return true;
}

// "module code [exception]"
Problem AddReceiveFault(SystemEntry& system, const std::string& value) {
  const std::vector<std::string> words = SplitWords(value);
  if (words.size() < 2 || words.size() > 3) {
    return std::string(
        "FAIL_RECEIVE needs a function module, a return code and, for code 2, "
        "an exception name");
  }
  if (FindModule(words[0]) == nullptr) {
    return "FAIL_RECEIVE: " + Quoted(words[0]) + " is not a function module the library knows";
  }
  const std::optional<std::int32_t> code = ParseInt32(words[1]);
  if (!code || *code == 0) {
    return "FAIL_RECEIVE: " + Quoted(words[1]) + " is not a return code other than 0";
  }
  ReceiveFault fault{*code, words.size() == 3 ? words[2] : std::string()};
  if (*code == 2 && fault.exception.empty()) {
    return "FAIL_RECEIVE: code 2 needs the name of the exception";
  }
  if (!fault.exception.empty() && !IsExceptionName(fault.exception)) {
    return "FAIL_RECEIVE: " + Quoted(fault.exception) +
           " is not an exception name (A-Z, 0-9 and _, at most 30 characters)";
  }
  if (!system.receiveFaults.emplace(words[0], fault).second) {
    return "FAIL_RECEIVE for " + words[0] + " is given twice";
  }
  return std::nullopt;
}

Problem SetErrorText(const char* key, std::size_t capacity, const std::string& value,
                     std::optional<std::string>& text) {
  if (value.size() > capacity) {
    return std::string(key) + " is " + std::to_string(value.size()) + " characters long, at most " +
           std::to_string(capacity) + " fit";
  }
  text = value;
  return std::nullopt;
}

Problem SetErrorKey(SystemEntry& system, const std::string& value) {
  return SetErrorText("ERROR_KEY", 32, value, system.errorTexts.key);
}

Problem SetErrorStatus(SystemEntry& system, const std::string& value) {
  return SetErrorText("ERROR_STATUS", 127, value, system.errorTexts.status);
}

Problem SetErrorMessage(SystemEntry& system, const std::string& value) {
  return SetErrorText("ERROR_MESSAGE", 255, value, system.errorTexts.message);
}

Problem SetErrorInternal(SystemEntry& system, const std::string& value) {
  return SetErrorText("ERROR_INTERNAL", 127, value, system.errorTexts.internalStatus);
}

struct KeyRule {
  std::string_view key;
  bool repeatable;
  Problem (*apply)(SystemEntry&, const std::string&);
};

const KeyRule kKeyRules[] = {
    {"ASHOST", false, SetAsHost},
    {"SYSNR", false, SetSystemNumber},
    {"GWHOST", false, SetGwHost},
    {"GWSERV", false, SetGwService},
    {"LOGON", true, AddLogon},
    {"FAIL_CONNECT", false, SetRefuseConnection},
    {"FAIL_LOGON", false, SetRefuseLogon},
    {"FAIL_CALL", true, AddFailingCalls},
    {"FAIL_RECEIVE", true, AddReceiveFault},
    {"FAIL_HANDLER", true, AddHandlerOperations},
    {"FAIL_INSTALL", true, AddFailingInstalls},
    {"FAIL_ITCREATE", true, AddFailingCreates},
    {"FAIL_ITDELETE", true, AddFailingDeletes},
    {"ERROR_KEY", false, SetErrorKey},
    {"ERROR_STATUS", false, SetErrorStatus},
    {"ERROR_MESSAGE", false, SetErrorMessage},
    {"ERROR_INTERNAL", false, SetErrorInternal},
    {"FAIL_TRACE", false, SetUntracedFaults},
    {"DELAY_OPEN", false, SetOpenDelay},
    {"DELAY_CALL", false, SetCallDelay},
    {"DELAY_RECEIVE", false, SetReceiveDelay},
    {"HANG", true, AddHang},
};

bool IsSystemNameCharacter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
         c == '-' || c == '.';
}

// Reads the lines of a landscape one by one and hands each system on once it is complete and
// checked.
//
// A text read without fault before is read again as `checked`: the checks that span keys and
// systems (keys given twice, names and ways in taken twice, systems without a way in) cannot
// fail then, and are left out.
class Parser {
 public:
  Parser(std::string_view fileName, const TakeSystem& take, bool checked)
      : fileName_(fileName), take_(take), checked_(checked) {}

  // `offset` is where the line begins in the text.
  bool ReadLine(int number, std::string_view raw, std::size_t offset) {
    line_ = number;
    const std::string_view text = TrimmedView(raw);
    if (text.empty() || text[0] == '#' || text[0] == ';') return true;
    if (text[0] == '[') {
      if (MayHoldPassword(text)) secretLines_.insert(number);
      return BeginSystem(text, offset);
    }
    const std::size_t equals = text.find('=');
    if (equals == std::string::npos) {
      if (MayHoldPassword(text)) secretLines_.insert(number);
      return Fail("line without '=' (expected KEY = value, [SYSTEM] or a # comment)");
    }
    const std::string key = ToUpper(TrimmedView(text.substr(0, equals)));
    const std::string value(TrimmedView(text.substr(equals + 1)));
    // A LOGON line's own messages quote its client and user, never its password; a line whose
    // value holds LOGON or PASSWD (a line break lost before a LOGON line) is never quoted.
    if (MayHoldPassword(value)) secretLines_.insert(number);
    if (key.empty()) return Fail("line without a key before '='");
    if (!current_) return Fail(Quoted(key) + " before the first [SYSTEM] line");
    return SetKey(key, value);
  }

  // `end` is the length of the text.
  bool Finish(std::size_t end) { return EndSystem(end); }

  const std::string& Error() const { return error_; }

 private:
  // A system met earlier: where it began and its name, for the messages about duplicates.
  struct Earlier {
    int line;
    std::string name;
  };

  bool Fail(const std::string& what) { return FailAt(line_, what); }

  bool FailAt(int line, const std::string& what) {
    error_ = std::string(fileName_) + " line " + std::to_string(line) + ": " +
             (secretLines_.count(line) != 0 ? std::string(kLineNotQuoted) : what);
    return false;
  }

  bool BeginSystem(std::string_view text, std::size_t offset) {
    if (!EndSystem(offset)) return false;
    if (text.back() != ']') return Fail("system line " + Quoted(text) + " does not end with ']'");
    const std::string name = Trim(text.substr(1, text.size() - 2));
    if (!checked_ && !CheckSystemName(name)) return false;
    current_.emplace();
    current_->name = name;
    current_->line = line_;
    begin_ = offset;
    keyLines_.clear();
    return true;
  }

  bool CheckSystemName(const std::string& name) {
    if (name.empty()) return Fail("system line without a name");
    if (name.size() > kMaxSystemNameLength) {
      return Fail("system name " + Quoted(name) + " is longer than " +
                  std::to_string(kMaxSystemNameLength) + " characters");
    }
    for (char c : name) {
      if (!IsSystemNameCharacter(c)) {
        return Fail("system name " + Quoted(name) +
                    " may hold only letters, digits, '_', '-' and '.'");
      }
    }
    const auto [first, isNew] = nameLines_.emplace(ToUpper(name), line_);
    if (!isNew) {
      return Fail("system " + name + " is given twice (first in line " +
                  std::to_string(first->second) + ")");
    }
    return true;
  }

  bool SetKey(const std::string& key, const std::string& value) {
    for (const KeyRule& rule : kKeyRules) {
      if (key != rule.key) continue;
      if (!rule.repeatable && !FirstTime(key)) return false;
      if (Problem problem = rule.apply(*current_, value)) return Fail(*problem);
      return true;
    }
    if (const FieldDef* field = FindAnswerField(key)) {
      if (!FirstTime(key)) return false;
      if (Problem problem = CheckFieldValue(*field, value)) {
        return Fail(key + " " + Quoted(value) + " " + *problem);
      }
      current_->answers.emplace(key, value);  // a key is given once per system
      return true;
    }
    if (IsAnswerTable(key)) {
      if (value.empty()) return Fail(key + " row is empty");
      if (value.size() > kRowLength) {
        return Fail(key + " row " + Quoted(value) + " is " + std::to_string(value.size()) +
                    " characters long, at most " + std::to_string(kRowLength) + " fit");
      }
      current_->tableRows[key].push_back(value);
      return true;
    }
    return Fail("unknown key " + Quoted(key));
  }

  bool FirstTime(const std::string& key) {
    if (checked_) return true;
    // A system has a few keys: a list is quicker to search than a map is to build.
    for (const auto& [earlier, line] : keyLines_) {
      if (earlier == key) {
        return Fail(key + " is given twice for system " + current_->name + " (first in line " +
                    std::to_string(line) + ")");
      }
    }
    keyLines_.emplace_back(key, line_);
    return true;
  }

  // Checks that the system just read can be reached, and by no other system's way in; then
  // hands it on with its lines, which end at `end`.
  bool EndSystem(std::size_t end) {
    if (!current_) return true;
    if (checked_) {
      take_(std::move(*current_), begin_, end);
      current_.reset();
      return true;
    }
    SystemEntry s = std::move(*current_);
    current_.reset();
    const auto fail = [this, &s](const std::string& what) {
      return FailAt(s.line, "system " + s.name + ": " + what);
    };
    const bool hasServer = !s.asHost.empty() || s.systemNumber >= 0;
    const bool hasGateway = !s.gwHost.empty() || !s.gwService.empty();
    if (!s.asHost.empty() && s.systemNumber < 0) {
      return fail("ASHOST given without SYSNR");
    }
    if (s.asHost.empty() && s.systemNumber >= 0) {
      return fail("SYSNR given without ASHOST");
    }
    if (s.gwHost.empty() != s.gwService.empty()) {
      return fail(s.gwHost.empty() ? "GWSERV given without GWHOST" : "GWHOST given without GWSERV");
    }
    if (!hasServer && !hasGateway) {
      return fail("no way in: give ASHOST and SYSNR, or GWHOST and GWSERV");
    }
    // Another system reached the same way; when both ways in are taken, the earlier one counts.
    const Earlier* server = nullptr;
    const Earlier* gateway = nullptr;
    const Earlier self{s.line, s.name};
    if (hasServer) {
      const auto [at, isNew] = servers_.emplace(ServerKey(s.asHost, s.systemNumber), self);
      if (!isNew) server = &at->second;
    }
    if (hasGateway) {
      const auto [at, isNew] = gateways_.emplace(GatewayKey(s.gwHost, s.gwService), self);
      if (!isNew) gateway = &at->second;
    }
    if (server != nullptr && (gateway == nullptr || server->line < gateway->line)) {
      return fail("ASHOST " + s.asHost + " with SYSNR " + std::to_string(s.systemNumber / 10) +
                  std::to_string(s.systemNumber % 10) + " already reaches system " + server->name);
    }
    if (gateway != nullptr) {
      return fail("GWHOST " + s.gwHost + " with GWSERV " + s.gwService +
                  " already reaches system " + gateway->name);
    }
    take_(std::move(s), begin_, end);
    return true;
  }

  std::string_view fileName_;
  const TakeSystem& take_;
  const bool checked_;
  int line_ = 0;
  std::optional<SystemEntry> current_;
  std::size_t begin_ = 0;                              // where the current system's lines begin
  std::vector<std::pair<std::string, int>> keyLines_;  // the current system's keys and lines
  std::map<std::string, int> nameLines_;  // system names in upper case, with their lines
  std::map<ServerKeyType, Earlier> servers_;
  std::map<GatewayKeyType, Earlier> gateways_;
  std::string error_;
  // Lines that may carry a password: a message about them does not quote them.
  std::set<int> secretLines_;
};

}  // namespace

const SystemEntry* FindByServer(const Landscape& landscape, std::string_view host,
                                int systemNumber) {
  const auto found = landscape.byServer.find(ServerKey(host, systemNumber));
  return found == landscape.byServer.end() ? nullptr : &landscape.systems[found->second];
}

bool HasServerHost(const Landscape& landscape, std::string_view host) {
  const std::string upper = ToUpper(host);
  const auto next = landscape.byServer.lower_bound({upper, INT_MIN});
  return next != landscape.byServer.end() && next->first.first == upper;
}

const SystemEntry* FindByGateway(const Landscape& landscape, std::string_view host,
                                 std::string_view service) {
  const auto found = landscape.byGateway.find(GatewayKey(host, service));
  return found == landscape.byGateway.end() ? nullptr : &landscape.systems[found->second];
}

bool HasGatewayHost(const Landscape& landscape, std::string_view host) {
  const std::string upper = ToUpper(host);
  const auto next = landscape.byGateway.lower_bound({upper, std::string()});
  return next != landscape.byGateway.end() && next->first.first == upper;
}

ServerKeyType ServerKey(std::string_view host, int systemNumber) {
  return {ToUpper(host), systemNumber};
}

GatewayKeyType GatewayKey(std::string_view host, std::string_view service) {
  return {ToUpper(host), ToUpper(service)};
}

namespace {

std::string ReadLines(std::string_view text, std::string_view fileName, int firstLine,
                      const TakeSystem& take, bool checked) {
  Parser parser(fileName, take, checked);
  int number = firstLine;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t lineFeed = text.find('\n', at);
    const std::size_t end = lineFeed == std::string_view::npos ? text.size() : lineFeed;
    std::string_view line = text.substr(at, end - at);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!parser.ReadLine(number++, line, at)) return parser.Error();
    at = lineFeed == std::string_view::npos ? text.size() : lineFeed + 1;
  }
  if (!parser.Finish(text.size())) return parser.Error();
  return std::string();
}

}  // namespace

std::string ReadLandscape(std::string_view text, std::string_view fileName, int firstLine,
                          const TakeSystem& take) {
  return ReadLines(text, fileName, firstLine, take, false);
}

void ReadCheckedLandscape(std::string_view text, std::string_view fileName, int firstLine,
                          const TakeSystem& take) {
  ReadLines(text, fileName, firstLine, take, true);
}

std::string_view WithoutByteOrderMark(std::string_view text) {
  // A file saved by a Windows editor may begin with a UTF-8 byte order mark.
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  return text;
}

LandscapeResult ParseLandscape(std::string_view text, std::string_view fileName) {
  LandscapeResult result;
  Landscape& landscape = result.landscape;
  result.error = ReadLandscape(
      WithoutByteOrderMark(text), fileName, 1, [&](SystemEntry&& system, std::size_t, std::size_t) {
        const std::size_t position = landscape.systems.size();
        if (!system.asHost.empty()) {
          landscape.byServer.emplace(ServerKey(system.asHost, system.systemNumber), position);
        }
        if (!system.gwHost.empty()) {
          landscape.byGateway.emplace(GatewayKey(system.gwHost, system.gwService), position);
        }
        landscape.systems.push_back(std::move(system));
      });
  if (!result.error.empty()) result.landscape = Landscape();
  return result;
}

}  // namespace simsap
