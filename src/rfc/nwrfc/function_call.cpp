#include "rfc/nwrfc/function_call.h"

#include <cstdint>
#include <vector>

#include "output/log_writer.h"
#include "rfc/nwrfc/library_state.h"
#include "run_context.h"
#include "step_report.h"

namespace kelvoran {

namespace {

SapText Name(const char* name) { return ToSapText(name, CodePage::Latin1); }

}  // namespace

std::string NwResultMessage(int code, const NwErrorInfo& error) {
  switch (code) {
    case NW_OK: return "";
    case NW_COMMUNICATION_FAILURE: return "Error 1014: RFC-Failure raised !";
    case NW_ABAP_EXCEPTION: return "Error 1012: Exception.: " + ErrorText(error.key);
    case NW_ABAP_MESSAGE:
    case NW_ABAP_RUNTIME_FAILURE: return "Error 1013: Sys-Exception raised !";
    default: return "Error 1015: Other Failure raised !";
  }
}

FunctionCall::FunctionCall(RunContext& ctx, const char* module)
    : ctx_(ctx), rfc_(NwState(ctx)) {
  NwErrorInfo error{};
  EnterStep(ctx_, "RfcGetFunctionDesc");
  const NwFunctionDescHandle description =
      rfc_.operations.RfcGetFunctionDesc(rfc_.connection, Name(module).c_str(), &error);
  if (description == nullptr) {
    Failed(error);
    return;
  }
  EnterStep(ctx_, "RfcCreateFunction");
  function_ = rfc_.operations.RfcCreateFunction(description, &error);
  if (function_ == nullptr) Failed(error);
}

FunctionCall::~FunctionCall() {
  if (function_ == nullptr) return;
  EnterStep(ctx_, "RfcDestroyFunction");
  NwErrorInfo ignored{};
  rfc_.operations.RfcDestroyFunction(function_, &ignored);
}

int FunctionCall::Invoke() {
  if (result_ != 0) return result_;
  NwErrorInfo error{};
  EnterStep(ctx_, "RfcInvoke");
  const int code = rfc_.operations.RfcInvoke(rfc_.connection, function_, &error);
  WriteLogLine(ctx_, static_cast<std::int32_t>(ctx_.connectionHandle), "RfcInvoke called", "");
  if (code != NW_OK) {
    error.code = code;
    Failed(error);
  }
  return result_;
}

NwDataHandle FunctionCall::Structure(const char* name) {
  if (result_ != 0) return nullptr;
  NwErrorInfo error{};
  NwDataHandle structure = nullptr;
  const int code =
      rfc_.operations.RfcGetStructure(function_, Name(name).c_str(), &structure, &error);
  if (code != NW_OK || structure == nullptr) {
    error.code = code;
    Failed(error);
    return nullptr;
  }
  return structure;
}

std::optional<std::string> FunctionCall::Chars(NwDataHandle structure, const char* field,
                                               unsigned length) {
  if (result_ != 0) return std::nullopt;
  std::vector<SapChar> buffer(length, SapChar(' '));
  NwErrorInfo error{};
  const int code = rfc_.operations.RfcGetChars(structure, Name(field).c_str(), buffer.data(),
                                               length, &error);
  if (code != NW_OK) {
    error.code = code;
    Failed(error);
    return std::nullopt;
  }
  return FromSapText(buffer.data(), length, HostCodePage());
}

std::optional<std::int32_t> FunctionCall::Int(NwDataHandle structure, const char* field) {
  if (result_ != 0) return std::nullopt;
  int value = 0;
  NwErrorInfo error{};
  const int code = rfc_.operations.RfcGetInt(structure, Name(field).c_str(), &value, &error);
  if (code != NW_OK) {
    error.code = code;
    Failed(error);
    return std::nullopt;
  }
  return static_cast<std::int32_t>(value);
}

std::optional<std::string> FunctionCall::Decimal(NwDataHandle structure, const char* field,
                                                 unsigned length, unsigned decimals) {
  if (result_ != 0) return std::nullopt;
  // A packed number of `length` bytes holds 2 * length - 1 digits: with its sign and point
  // that is 2 * length + 1 characters, and the terminating NUL.
  std::vector<SapChar> buffer(2 * length + 2, SapChar(0));
  for (int attempt = 0; attempt < 2; ++attempt) {
    unsigned stringLength = 0;
    NwErrorInfo error{};
    const int code = rfc_.operations.RfcGetString(structure, Name(field).c_str(), buffer.data(),
                                                  static_cast<unsigned>(buffer.size()),
                                                  &stringLength, &error);
    if (code == NW_BUFFER_TOO_SMALL && attempt == 0 && stringLength < 1024) {
      buffer.assign(stringLength + 1, SapChar(0));
      continue;
    }
    if (code != NW_OK) {
      error.code = code;
      Failed(error);
      return std::nullopt;
    }
    const std::size_t got = stringLength < buffer.size() ? stringLength : buffer.size();
    return NormalizedDecimal(FromSapText(buffer.data(), got, CodePage::Latin1), decimals)
        .value_or(std::string());
  }
  return std::string();
}

void FunctionCall::Failed(const NwErrorInfo& error) {
  rfc_.lastError = error;
  result_ = error.code != NW_OK ? error.code : NW_EXTERNAL_FAILURE;
  rfc_.lastError.code = result_;
}

std::optional<std::string> NormalizedDecimal(std::string_view text, unsigned decimals) {
  bool negative = false;
  if (!text.empty() && text.front() == '-') {
    negative = true;
    text.remove_prefix(1);
  }
  const std::size_t point = text.find('.');
  std::string_view whole = text.substr(0, point);
  std::string_view fraction =
      point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
  if (whole.empty() && fraction.empty()) return std::nullopt;
  if (fraction.size() > decimals) return std::nullopt;
  for (std::string_view part : {whole, fraction}) {
    for (char c : part) {
      if (c < '0' || c > '9') return std::nullopt;
    }
  }
  while (whole.size() > 1 && whole.front() == '0') whole.remove_prefix(1);
  std::string number = whole.empty() ? "0" : std::string(whole);
  if (decimals > 0) {
    number += '.';
    number += fraction;
    number.append(decimals - fraction.size(), '0');
  }
  const bool zero = number.find_first_not_of("0.") == std::string::npos;
  return negative && !zero ? "-" + number : number;
}

}  // namespace kelvoran
