#include "driver/system_pipe.h"

#include <cstring>

namespace kelvoran {

namespace {

constexpr std::size_t kLongestLength = 7;  // digits of kLongestRecord

// The kinds of a request, each a bit of RequestReader::seen_.
constexpr const char kRequestKinds[] = "IDSPFVG";

bool IsVerdict(std::string_view text) {
  return text == "Processed" || text == "Not Found" || text == "Rfc Failure" || text == kNoVerdict;
}

// A whole number of decimal digits only, without a leading zero, at most `limit`.
std::optional<unsigned long> ReadNumber(std::string_view text, unsigned long limit) {
  if (text.empty() || text.size() > 10 || (text.size() > 1 && text[0] == '0')) return std::nullopt;
  unsigned long long value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<unsigned>(c - '0');
  }
  if (value > limit) return std::nullopt;
  return static_cast<unsigned long>(value);
}

}  // namespace

std::string FormatRecord(char kind, std::string_view payload) {
  std::string record(1, kind);
  record += std::to_string(payload.size());
  record += ':';
  record.append(payload);
  record += '\n';
  return record;
}

bool RecordReader::Feed(std::string_view bytes) {
  if (broken_) return false;
  total_ += bytes.size();
  if (total_ > kLongestStream) {
    broken_ = true;
    return false;
  }
  pending_.append(bytes);
  std::size_t at = 0;
  for (;;) {
    const std::string_view rest = std::string_view(pending_).substr(at);
    if (rest.empty()) break;
    if (rest[0] < 'A' || rest[0] > 'Z') {
      broken_ = true;
      break;
    }
    const std::size_t colon = rest.find(':', 1);
    const std::size_t digits = colon == std::string_view::npos ? rest.size() - 1 : colon - 1;
    if (digits > kLongestLength || (digits == 0 && colon != std::string_view::npos)) {
      broken_ = true;
      break;
    }
    if (colon == std::string_view::npos) {
      // The length is still arriving; what has come must be digits.
      for (char c : rest.substr(1)) {
        if (c < '0' || c > '9') broken_ = true;
      }
      break;
    }
    const std::optional<unsigned long> length = ReadNumber(rest.substr(1, digits), kLongestRecord);
    if (!length) {
      broken_ = true;
      break;
    }
    const std::size_t whole = colon + 1 + *length + 1;
    if (rest.size() < whole) break;
    if (rest[whole - 1] != '\n') {
      broken_ = true;
      break;
    }
    records_.push_back(PipeRecord{rest[0], std::string(rest.substr(colon + 1, *length))});
    at += whole;
  }
  if (broken_) {
    pending_.clear();
    return false;
  }
  pending_.erase(0, at);
  return true;
}

std::optional<PipeRecord> RecordReader::Next() {
  if (records_.empty()) return std::nullopt;
  PipeRecord record = std::move(records_.front());
  records_.pop_front();
  return record;
}

std::string FormatRequest(const SystemRequest& request) {
  return FormatRecord('I', std::to_string(request.parentId)) +
         FormatRecord('D', request.profileDirectory) + FormatRecord('S', request.systemEntry) +
         FormatRecord('P', request.parameterText) +
         FormatRecord('F', HostFlavourName(request.flavour)) +
         FormatRecord('V', request.verbose ? "1" : "0") +
         FormatRecord('G', request.detail ? "1" : "0") + FormatRecord('E', "");
}

bool RequestReader::Feed(std::string_view bytes) {
  if (broken_) return false;
  // Records that arrived whole before a fault count, however the bytes were cut.
  const bool wellFormed = records_.Feed(bytes);
  while (!broken_) {
    std::optional<PipeRecord> record = records_.Next();
    if (!record) break;
    if (ended_) {
      broken_ = true;
      break;
    }
    if (record->kind == 'E') {
      ended_ = true;
      broken_ = !record->payload.empty();
      continue;
    }
    const char* known = std::strchr(kRequestKinds, record->kind);
    const unsigned bit = known != nullptr ? 1u << (known - kRequestKinds) : 0u;
    if (bit == 0 || (seen_ & bit) != 0) {
      broken_ = true;
      break;
    }
    seen_ |= bit;
    std::string& value = record->payload;
    switch (record->kind) {
      case 'I': {
        const std::optional<unsigned long> id = ReadNumber(value, 0xFFFFFFFFul);
        broken_ = !id;
        if (id) request_.parentId = *id;
        break;
      }
      case 'D': request_.profileDirectory = std::move(value); break;
      case 'S': request_.systemEntry = std::move(value); break;
      case 'P': request_.parameterText = std::move(value); break;
      case 'F': {
        const std::optional<HostFlavour> flavour = FindHostFlavour(value);
        broken_ = !flavour;
        if (flavour) request_.flavour = *flavour;
        break;
      }
      default:
        broken_ = value != "0" && value != "1";
        (record->kind == 'V' ? request_.verbose : request_.detail) = value == "1";
        break;
    }
  }
  if (!wellFormed) broken_ = true;
  return !broken_;
}

std::optional<SystemRequest> RequestReader::Complete() const {
  const unsigned all = (1u << (sizeof kRequestKinds - 1)) - 1;
  if (broken_ || !ended_ || seen_ != all || records_.Partial()) return std::nullopt;
  return request_;
}

bool ReportReader::Feed(std::string_view bytes) {
  if (report_.broken) return false;
  // Records that arrived whole before a fault count, however the bytes were cut.
  const bool wellFormed = records_.Feed(bytes);
  while (!report_.broken) {
    std::optional<PipeRecord> record = records_.Next();
    if (!record) break;
    std::string& value = record->payload;
    if (Ended()) {
      // After a fatal ending the child closes its connection: its steps and what that prints
      // (the library's failure report) still come. Nothing comes after a verdict.
      if (report_.fatal && std::strchr("ANOW", record->kind) != nullptr) {
        if (record->kind == 'A') report_.operation = std::move(value);
        if (record->kind == 'N') report_.destination = std::move(value);
        if (record->kind == 'O' || record->kind == 'W') {
          report_.printedAfterResult.emplace_back(record->kind, std::move(value));
        }
        continue;
      }
      report_.broken = true;
      break;
    }
    switch (record->kind) {
      case 'A': report_.operation = std::move(value); break;
      case 'N': report_.destination = std::move(value); break;
      case 'L': report_.consoleLine = std::move(value); break;
      case 'O':
      case 'W': report_.printed.emplace_back(record->kind, std::move(value)); break;
      case 'T':
        report_.milliseconds = ReadNumber(value, 0xFFFFFFFFul);
        report_.broken = !report_.milliseconds;
        break;
      case 'M': report_.message = std::move(value); break;
      case 'R':
        if (IsVerdict(value)) {
          report_.verdict = std::move(value);
        } else {
          report_.broken = true;
        }
        break;
      case 'X': report_.fatal = std::move(value); break;
      default: report_.broken = true; break;
    }
  }
  if (!wellFormed) report_.broken = true;
  return !report_.broken;
}

}  // namespace kelvoran
