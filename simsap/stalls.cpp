#include "stalls.h"

#include <chrono>
#include <thread>

#include "function_modules.h"
#include "text.h"

namespace simsap {

namespace {

std::optional<std::string> ReadDelay(const char* key, const std::string& value, int& delay) {
  // Digits only, and few enough of them to be counted without overflow.
  if (value.empty() || value.size() > 6 || !IsAllDigits(value) || std::stoi(value) > kLongestDelay) {
    return std::string(key) + " '" + value + "' is not a whole number of milliseconds from 0 to " +
           std::to_string(kLongestDelay);
  }
  delay = std::stoi(value);
  return std::nullopt;
}

}  // namespace

std::optional<std::string> SetOpenDelay(SystemEntry& system, const std::string& value) {
  return ReadDelay("DELAY_OPEN", value, system.openDelay);
}

std::optional<std::string> SetCallDelay(SystemEntry& system, const std::string& value) {
  return ReadDelay("DELAY_CALL", value, system.callDelay);
}

std::optional<std::string> SetReceiveDelay(SystemEntry& system, const std::string& value) {
  return ReadDelay("DELAY_RECEIVE", value, system.receiveDelay);
}

std::optional<std::string> AddHang(SystemEntry& system, const std::string& value) {
  const std::vector<std::string> words = SplitWords(value);
  if (words.empty() || words.size() > 2) {
    return std::string("HANG needs a library operation and, for RfcCall and RfcReceive, may name "
                       "a function module");
  }
  const char* operation = nullptr;
  for (const char* known : kHangOperations) {
    if (EqualsNoCase(words[0], known)) operation = known;
  }
  if (operation == nullptr) {
    return "HANG: '" + words[0] +
           "' is not an operation a system can hang in (RfcOpen, RfcOpenEx, RfcCall, RfcReceive, "
           "RfcClose)";
  }
  std::string module;
  if (words.size() == 2) {
    const std::string_view name = operation;
    if (name != "RfcCall" && name != "RfcReceive") {
      return "HANG: " + std::string(operation) + " calls no function module";
    }
    if (FindModule(words[1]) == nullptr) {
      return "HANG: '" + words[1] + "' is not a function module the library knows";
    }
    module = words[1];
  }
  system.hangs.emplace(operation, module);
  return std::nullopt;
}

bool HangsIn(const SystemEntry& system, const char* operation, const char* module) {
  return !system.hangs.empty() &&
         (system.hangs.count({operation, std::string()}) != 0 ||
          (module != nullptr && system.hangs.count({operation, module}) != 0));
}

void Carry(const StallPlan& plan) {
  if (plan.hang) {
    // A system that never answers: the caller waits until its process is ended.
    for (;;) std::this_thread::sleep_for(std::chrono::hours(1));
  }
  if (plan.delay > 0) std::this_thread::sleep_for(std::chrono::milliseconds(plan.delay));
}

void Stall(const SystemEntry& system, const char* operation, int delay, const char* module) {
  Carry(StallPlan{delay, HangsIn(system, operation, module)});
}

}  // namespace simsap
